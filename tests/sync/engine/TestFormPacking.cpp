#include "shared/formtext/FormTextReader.h"
#include "shared/formtext/FormTextWriter.h"
#include "sync/engine/FormPacking.h"

#include <gtest/gtest.h>

using namespace formpacking;

namespace {

QByteArray Utf16(const QString& text) { return QByteArray(reinterpret_cast<const char*>(text.utf16()), 2 * text.size()); }

// A text with its little-endian byte count, as control parts carry it.
QByteArray TextLe(const QString& text) {
  const QByteArray units = Utf16(text);
  return QByteArray(1, static_cast<char>(units.size() & 0xFF)) + QByteArray(1, static_cast<char>(units.size() >> 8)) + units;
}

StoredControl Control(int32_t type) {
  StoredControl control;
  control.X = 1;
  control.Y = 2;
  control.Width = 30;
  control.Height = 40;
  control.Properties.Type = type;
  control.Properties.FontSize = 15;
  control.Properties.FontStyle = 2;
  control.Properties.TxtR = 255;
  control.Properties.Visible = 1;
  control.Properties.FontFace = 3;
  return control;
}

const QByteArray kCommonHead = QByteArray::fromHex("01000000" "02000000" "1e000000" "28000000" "0f000000" "02000000"
                                                   "00ff" "0000" "0000" "0001" "0003" "0000000000000000");

QByteArray Common(int32_t type) { return kCommonHead + QByteArray::fromHex(QByteArray::number(type, 16).rightJustified(2, '0') + "000000"); }

QByteArray Packed(const std::vector<StoredControl>& controls) {
  const auto block = PackTabControls(controls);
  return block.value_or(QByteArray("not packed"));
}

}  // namespace

TEST(FormPacking, TheMainFormWithoutGroupsOrDefaults) {
  FormLevelInfo form;
  form.Height = 480;
  form.Width = 320;
  form.FontSize = 10;
  form.R = 1;
  form.G = 2;
  form.B = 3;
  const auto groups = PackFormGroups(form);
  ASSERT_TRUE(groups);
  EXPECT_EQ(groups->toHex(), QByteArray("0000" "000001e0" "00000140" "0000000a" "0001" "0002" "0003" "0000"));
  const auto message = AssembleAddForm(5, 9, QStringLiteral("Main"), *groups);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->size(), 44);
  EXPECT_EQ(message->left(10).toHex(), QByteArray("1500" "00000005" "2000" "0800"));
  EXPECT_EQ(message->mid(10, 8), Utf16(QStringLiteral("Main")));
  EXPECT_EQ(message->right(4).toHex(), QByteArray("00000009"));
}

TEST(FormPacking, GroupsAndDefaultValuesCarryBigEndianByteCounts) {
  FormLevelInfo form;
  form.Groups.push_back({QStringLiteral("Group_A"), QStringLiteral("A"), 3});
  form.DefaultValues.push_back({QStringLiteral("F"), QStringLiteral("")});
  const auto groups = PackFormGroups(form);
  ASSERT_TRUE(groups);
  EXPECT_EQ(groups->left(2 + 2 + 14 + 2 + 2).toHex(),
            (QByteArray::fromHex("0001" "000e") + Utf16(QStringLiteral("Group_A")) + QByteArray::fromHex("0002") + Utf16(QStringLiteral("A"))).toHex());
  EXPECT_EQ(groups->right(2 + 2 + 2 + 2).toHex(), QByteArray("0001" "0002" "4600" "0000"));
}

TEST(FormPacking, EachControlTypePacksItsOwnPart) {
  StoredControl label = Control(kLabel);
  label.Properties.Caption = QStringLiteral("OK");
  label.Properties.AlignText = 1;
  StoredControl combo = Control(kComboBox);
  combo.Properties.DataColumn = QStringLiteral("C");
  combo.Properties.ItemEdit = 1;
  combo.Properties.Disabled = 0;
  combo.Properties.SrcType = 0;
  combo.Properties.Items = {QStringLiteral("never sent")};
  StoredControl valued = combo;
  valued.Properties.SrcType = kSourceValuedList;
  valued.Properties.DefaultValue = QStringLiteral("x");
  valued.Properties.Items = {QStringLiteral("x"), QStringLiteral("y")};
  StoredControl button = Control(kButton);
  button.Properties.Caption = QString();
  button.Properties.Action = kGoToFormAction;
  button.Properties.BgB = 7;
  button.Properties.GoToForms = {{QStringLiteral("a"), QStringLiteral("F2"), QStringLiteral("b")},
                                 {QStringLiteral("c"), QStringLiteral("F3"), QStringLiteral("d")}};
  StoredControl otherAction = button;
  otherAction.Properties.Action = QStringLiteral("Save");
  StoredControl formula = Control(kFormulaField);
  formula.Properties.Formula = QStringLiteral("A+B");
  formula.Properties.DataColumn = QStringLiteral("never sent");
  StoredControl unknown = Control(42);

  struct Case {
    const char* what;
    StoredControl control;
    QByteArray typePart;
  };
  const Case cases[] = {
      {"Label OK centred", label, TextLe(QStringLiteral("OK")) + QByteArray::fromHex("0001")},
      {"ComboBox without source", combo, TextLe(QStringLiteral("C")) + QByteArray::fromHex("0001" "0000" "0000")},
      {"ComboBox with a valued list", valued,
       TextLe(QStringLiteral("C")) + QByteArray::fromHex("0001" "0000" "0001") + TextLe(QStringLiteral("x")) +
           QByteArray::fromHex("0200") + TextLe(QStringLiteral("x")) + TextLe(QStringLiteral("y"))},
      {"Go To Form button", button,
       QByteArray::fromHex("0000") + TextLe(kGoToFormAction) + QByteArray::fromHex("0000" "0000" "0000" "0007" "0200") +
           TextLe(QStringLiteral("a")) + TextLe(QStringLiteral("F2")) + TextLe(QStringLiteral("b")) +
           TextLe(QStringLiteral("c")) + TextLe(QStringLiteral("F3")) + TextLe(QStringLiteral("d"))},
      {"button with another action", otherAction,
       QByteArray::fromHex("0000") + TextLe(QStringLiteral("Save")) + QByteArray::fromHex("0000" "0000" "0000" "0007")},
      {"formula without data column", formula, TextLe(QStringLiteral("A+B")) + QByteArray::fromHex("0000")},
      {"unknown type", unknown, QByteArray()},
  };
  for (const Case& c : cases) {
    const QByteArray expected = QByteArray::fromHex("01000000") + Common(c.control.Properties.Type) + c.typePart;
    EXPECT_EQ(Packed({c.control}).toHex(), expected.toHex()) << c.what;
  }
}

TEST(FormPacking, TabRecordsAndEmptyTabs) {
  EXPECT_EQ(Packed({}).toHex(), QByteArray("00000000"));
  const auto record = BuildFormTabData(3, QStringLiteral("T"), {});
  ASSERT_TRUE(record);
  EXPECT_EQ(record->toHex(), QByteArray("03000000" "0200" "5400" "00000000"));
}

// The packer takes what the shared reader reads, so writer, reader and packer follow one order.
TEST(FormPacking, AStoredTabTextPacksWhatWasDesigned) {
  StoredControl box = Control(kCheckBox);
  box.Properties.DataColumn = QStringLiteral("Done");
  box.Properties.Caption = QStringLiteral("Done?");
  box.Properties.UnChecked = QStringLiteral("0");
  box.Properties.Checked = QStringLiteral("1");
  box.Properties.RectDW = 0x00FF0000;
  StoredControl radio = Control(kRadioButton);
  radio.Properties.Caption = QStringLiteral("Yes");
  radio.Properties.Group = QStringLiteral("Group_A");
  radio.Properties.Selected = 1;
  const std::vector<StoredControl> designed = {box, radio};
  QString text;
  FormTextWriter writer;
  ASSERT_TRUE(writer.WriteTab(designed, &text));
  FormTextReader reader;
  EXPECT_EQ(Packed(reader.ReadTab(text)), Packed(designed));
}

TEST(FormPacking, WhatNoSixteenBitLengthHoldsIsNotPacked) {
  StoredControl label = Control(kLabel);
  label.Properties.Caption = QString(33000, QLatin1Char('x'));
  EXPECT_FALSE(PackTabControls({label}));
  FormLevelInfo form;
  form.DefaultValues.assign(3000, {QString(10, QLatin1Char('f')), QString(10, QLatin1Char('v'))});
  EXPECT_FALSE(PackFormGroups(form));
  EXPECT_FALSE(AssembleAddForm(1, 1, QString(40000, QLatin1Char('t')), QByteArray()));
}
