// Any text given to the form text readers is read without a fault, and whatever they return
// and the writer accepts reads back the same. Besides the raw input, each run also splices the
// input into a well-formed text, so that damage deep inside real records is reached.
#include "shared/formtext/FormTextReader.h"
#include "shared/formtext/FormTextWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString WellFormedTab() {
  std::vector<StoredControl> controls(4);
  for (int i = 0; i < 4; ++i) controls[static_cast<size_t>(i)].Properties.Type = 3 + i;
  controls[1].Properties.SrcType = kSourceValuedList;
  controls[1].Properties.Items = {QStringLiteral("a"), QStringLiteral("b")};
  controls[2].Properties.Action = kGoToFormAction;
  controls[2].Properties.GoToForms = {{QStringLiteral("s"), QStringLiteral("f"), QStringLiteral("d")}};
  QString text;
  FormTextWriter().WriteTab(controls, &text);
  return text;
}

void CheckTab(const QString& text) {
  FormTextReader reader;
  FormTextWriter writer;
  QString written;
  const std::vector<StoredControl> controls = reader.ReadTab(text);
  if (writer.WriteTab(controls, &written) && reader.ReadTab(written) != controls) std::abort();
}

void CheckFormLevel(const QString& text) {
  FormTextReader reader;
  FormTextWriter writer;
  FormLevelInfo form;
  reader.ReadFormLevel(text, &form);
  QString written;
  if (!writer.WriteFormLevel(form, &written)) return;
  FormLevelInfo again;
  reader.ReadFormLevel(written, &again);
  if (!(again == form)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  CheckTab(input);
  CheckFormLevel(input);
  if (size >= 3) {
    static const QString tab = WellFormedTab();
    const qsizetype at = (data[0] | (data[1] << 8)) % (tab.size() + 1);
    const qsizetype removed = data[2] % 16;
    QString spliced = tab;
    spliced.replace(at, removed, input.mid(1));
    CheckTab(spliced);
  }
  return 0;
}
