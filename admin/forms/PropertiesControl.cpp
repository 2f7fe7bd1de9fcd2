#include "admin/forms/PropertiesControl.h"

#include "admin/forms/ComboSelection.h"
#include "admin/forms/PropertiesButtonCtrl.h"
#include "admin/forms/PropertiesComboBoxCtrl.h"
#include "admin/forms/PropertiesEditCtrl.h"
#include "admin/forms/PropertiesGoToFormButtonCtrl.h"
#include "admin/foundation/FormPropertyIds.h"

#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

void SetBackground(QWidget* box, const QColor& background, const QColor& text) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::Base, background);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Text, text);
  box->setPalette(palette);
  box->setAutoFillBackground(true);
}

// Statics, read-only and disabled edits draw on white; other boxes keep the system colours.
void ColourValueBox(QWidget* box) {
  auto* edit = qobject_cast<QLineEdit*>(box);
  const bool drawsAsStatic = qobject_cast<QLabel*>(box) != nullptr ||
                             (edit != nullptr && (edit->isReadOnly() || !edit->isEnabled()));
  if (drawsAsStatic) SetBackground(box, Qt::white, Qt::black);
}

}  // namespace

CPropertiesControl::CPropertiesControl(QWidget* parent)
    : QWidget(parent), m_pScrollBar(new QScrollBar(Qt::Vertical, this)) {
  m_pScrollBar->setPageStep(1);
  m_pScrollBar->setEnabled(false);
  connect(m_pScrollBar, &QScrollBar::actionTriggered, this, &CPropertiesControl::OnScrollAction);
  connect(m_pScrollBar, &QScrollBar::valueChanged, this, &CPropertiesControl::OnScrolled);
  auto* headerName = MakeNameLabel(QStringLiteral("Name"));
  auto* headerValue = new QLabel(QStringLiteral("Value"), this);
  for (QLabel* header : {headerName, headerValue}) {
    header->setObjectName(QStringLiteral("0"));
    SetBackground(header, HeaderColour(), Qt::black);
  }
  m_rows.push_back({kStatic, headerValue, headerName});
  Layout();
}

QLabel* CPropertiesControl::MakeNameLabel(const QString& text) {
  auto* label = new QLabel(text, this);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameShape(QFrame::Box);
  label->show();
  return label;
}

bool CPropertiesControl::AddProperty(int kind, int propertyId, const QString& value, bool flag, const QStringList& values,
                                     const QColor& colour) {
  if (kind != kStatic && kind != kEdit && kind != kDropList && kind != kButton) return false;
  const int row = GetRowCount();
  QWidget* box = MakeValueBox(row, kind, propertyId, value, flag, values, colour);
  box->setObjectName(QString::number(row));
  ColourValueBox(box);
  box->show();
  QLabel* name = MakeNameLabel(GetPropertyName(propertyId));
  name->setObjectName(QString::number(-row));
  m_rows.push_back({static_cast<int16_t>(kind), box, name});
  m_nTotalHeight = kRowHeight * GetRowCount();
  ColourLabels();
  Layout();
  return true;
}

QWidget* CPropertiesControl::MakeValueBox(int row, int kind, int propertyId, const QString& value, bool flag,
                                          const QStringList& values, const QColor& colour) {
  if (kind == kStatic) return new QLabel(value, this);
  if (kind == kEdit) {
    auto* edit = new CPropertiesEditCtrl(value, flag, this);
    connect(edit, &CPropertiesEditCtrl::Changed, this, [this, row] { OnChanged(row); });
    connect(edit, &CPropertiesEditCtrl::Activated, this, [this, row] { OnActivated(row); });
    connect(edit, &CPropertiesEditCtrl::Finished, this, [this, row] { OnEditingFinished(row); });
    return edit;
  }
  if (kind == kDropList) {
    auto* list = new CPropertiesComboBoxCtrl(this);
    list->addItems(values);
    list->setCurrentIndex(static_cast<int>(values.lastIndexOf(value)));
    list->setEnabled(!flag);
    connect(list, &CPropertiesComboBoxCtrl::Changed, this, [this, row] { OnChanged(row); });
    connect(list, &CPropertiesComboBoxCtrl::Activated, this, [this, row] { OnActivated(row); });
    return list;
  }
  if (propertyId == kPropFormSelection || propertyId == kPropFormula) {
    auto* chooser = new CPropertiesGoToFormButtonCtrl(value, this);
    connect(chooser, &CPropertiesGoToFormButtonCtrl::Changed, this, [this, row] { OnChanged(row); });
    return chooser;
  }
  auto* colourBox = new CPropertiesButtonCtrl(colour, this);
  connect(colourBox, &CPropertiesButtonCtrl::Activated, this, [this, row] { OnActivated(row); });
  connect(colourBox, &CPropertiesButtonCtrl::Changed, this, [this, row] { OnChanged(row); });
  return colourBox;
}

QWidget* CPropertiesControl::GetValueBox(int row) const {
  return row >= 0 && row < GetRowCount() ? m_rows[static_cast<size_t>(row)].value : nullptr;
}

QLabel* CPropertiesControl::GetNameLabel(int row) const {
  return row >= 0 && row < GetRowCount() ? m_rows[static_cast<size_t>(row)].name : nullptr;
}

int CPropertiesControl::FindRow(int propertyId) const {
  const QString name = GetPropertyName(propertyId);
  for (int row = 1; row < GetRowCount(); ++row) {
    if (GetNameLabel(row)->text() == name) return row;
  }
  return -1;
}

int CPropertiesControl::PropertyOfRow(int row) const { return GetPropertyId(GetNameLabel(row)->text()); }

void CPropertiesControl::SetPropertyValue(int propertyId, const QString& value) {
  QWidget* box = GetValueBox(FindRow(propertyId));
  if (auto* list = qobject_cast<CPropertiesComboBoxCtrl*>(box)) {
    SelectEqualOrPrefix(list, value);
  } else if (auto* edit = qobject_cast<QLineEdit*>(box)) {
    edit->setText(value);
  } else if (auto* label = qobject_cast<QLabel*>(box)) {
    label->setText(value);
  } else if (auto* button = qobject_cast<QPushButton*>(box)) {
    button->setText(value);
  }
}

QString CPropertiesControl::GetCaptionValue() const {
  const QWidget* box = GetValueBox(FindRow(kPropCaption));
  if (const auto* edit = qobject_cast<const QLineEdit*>(box)) return edit->text();
  if (const auto* list = qobject_cast<const QComboBox*>(box)) return list->currentText();
  if (const auto* label = qobject_cast<const QLabel*>(box)) return label->text();
  if (const auto* button = qobject_cast<const QPushButton*>(box)) return button->text();
  return {};
}

void CPropertiesControl::AddDefaultValueItem(const QString& text) {
  if (auto* list = qobject_cast<QComboBox*>(GetValueBox(FindRow(kPropDefaultValue)))) list->addItem(text);
}

void CPropertiesControl::RemoveDefaultValueItem(const QString& text) {
  auto* list = qobject_cast<QComboBox*>(GetValueBox(FindRow(kPropDefaultValue)));
  if (list == nullptr) return;
  if (list->currentIndex() >= 0 && list->currentText() == text) list->setCurrentIndex(-1);
  const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) list->removeItem(index);
}

void CPropertiesControl::FocusProperty(int propertyId) {
  if (QWidget* box = GetValueBox(FindRow(propertyId))) box->setFocus();
}

void CPropertiesControl::ClearProperties() {
  for (size_t row = 1; row < m_rows.size(); ++row) {
    delete m_rows[row].value;
    delete m_rows[row].name;
  }
  m_rows.resize(1);
  m_nCurrentRow = 0;
  m_nScrollOffset = 0;
  m_nTotalHeight = kRowHeight;
  ColourLabels();
  Layout();
}

bool CPropertiesControl::ClearCurrentRow() {
  if (m_nCurrentRow == 0) {
    update();
    return false;
  }
  m_nCurrentRow = 0;
  ColourLabels();
  return true;
}

void CPropertiesControl::OnChanged(int row) { Q_EMIT PropertyChanged(row, PropertyOfRow(row), m_nTag); }

void CPropertiesControl::OnActivated(int row) {
  m_nCurrentRow = row;
  ColourLabels();
  Q_EMIT PropertyActivated(row, PropertyOfRow(row), m_nTag);
}

void CPropertiesControl::OnEditingFinished(int row) { Q_EMIT PropertyEditingFinished(row, PropertyOfRow(row), m_nTag); }

void CPropertiesControl::ColourLabels() {
  for (int row = 1; row < GetRowCount(); ++row) {
    const bool current = row == m_nCurrentRow;
    SetBackground(GetNameLabel(row), current ? CurrentLabelColour() : LabelColour(), current ? Qt::white : Qt::black);
  }
  update();
}

int CPropertiesControl::MaxOffset() const { return std::max(0, m_nTotalHeight - VisibleHeight()); }

void CPropertiesControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

// Rows are placed whether they fit or not: a grid scrolled, cleared and refilled must show its
// rows from the top again. The two columns share the width left of the scroll bar.
void CPropertiesControl::Layout() {
  m_nColumnWidth = static_cast<int16_t>(width() / 2 - kScrollBarWidth / 2);
  m_pScrollBar->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
  m_nScrollOffset = std::clamp(m_nScrollOffset, 0, MaxOffset());
  const QSignalBlocker blocker(m_pScrollBar);
  m_pScrollBar->setRange(0, MaxOffset());
  m_pScrollBar->setValue(m_nScrollOffset);
  m_pScrollBar->setEnabled(MaxOffset() > 0);
  PlaceRows();
}

void CPropertiesControl::PlaceRows() {
  for (int row = 0; row < GetRowCount(); ++row) {
    const int top = kRowHeight * row - m_nScrollOffset;
    GetNameLabel(row)->setGeometry(0, top, m_nColumnWidth, kRowHeight);
    GetValueBox(row)->setGeometry(m_nColumnWidth, top, m_nColumnWidth, kRowHeight);
  }
  update();
}

// Lines move by a row, pages by the visible height; the thumb goes where it is dragged.
void CPropertiesControl::OnScrollAction(int action) {
  int offset = m_nScrollOffset;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: offset += kRowHeight; break;
    case QAbstractSlider::SliderSingleStepSub: offset -= kRowHeight; break;
    case QAbstractSlider::SliderPageStepAdd: offset += VisibleHeight(); break;
    case QAbstractSlider::SliderPageStepSub: offset -= VisibleHeight(); break;
    case QAbstractSlider::SliderMove: offset = m_pScrollBar->sliderPosition(); break;
    case QAbstractSlider::SliderToMinimum: offset = 0; break;
    case QAbstractSlider::SliderToMaximum: offset = MaxOffset(); break;
    default: return;
  }
  m_pScrollBar->setSliderPosition(std::clamp(offset, 0, MaxOffset()));
}

void CPropertiesControl::OnScrolled(int offset) {
  m_nScrollOffset = std::clamp(offset, 0, MaxOffset());
  PlaceRows();
  setFocus();
}

void CPropertiesControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}
