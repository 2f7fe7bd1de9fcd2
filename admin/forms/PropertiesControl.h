#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QScrollBar;

// The designer's two-column property grid: a name label and a value box per row, 24 pixels
// high, under a header row, with a scroll bar along the right edge. Rows are placed by hand so
// that every box keeps its exact place. Changes the user makes are reported as signals with the
// row, the property id and the grid's tag; changes made through the calls below report nothing.
class CPropertiesControl : public QWidget {
  Q_OBJECT

 public:
  // The kinds of value box.
  enum Kind : int16_t {
    kStatic = 1,
    kEdit = 2,
    kDropList = 4,
    kButton = 5,
  };

  static constexpr int kRowHeight = 24;
  static constexpr int kScrollBarWidth = 16;

  static QColor HeaderColour() { return QColor(238, 238, 238); }
  static QColor LabelColour() { return QColor(187, 187, 255); }
  static QColor CurrentLabelColour() { return QColor(9, 90, 227); }

  explicit CPropertiesControl(QWidget* parent = nullptr);

  // Appends a row below the last. `flag` makes an edit read-only and a drop list disabled; a drop
  // list offers `values` and selects the last one equal to `value`; a button is a colour box in
  // `colour`, or for Form Selection and Formula the box that opens their editor, captioned
  // `value`. False, with no row added, for a kind that is none of the four.
  bool AddProperty(int kind, int propertyId, const QString& value, bool flag = false,
                   const QStringList& values = {}, const QColor& colour = QColor());
  void SetPropertyValue(int propertyId, const QString& value);
  QString GetCaptionValue() const;
  void AddDefaultValueItem(const QString& text);
  void RemoveDefaultValueItem(const QString& text);
  void FocusProperty(int propertyId);
  void ClearProperties();
  bool HasCurrentRow() const { return m_nCurrentRow > 0; }
  bool ClearCurrentRow();

  void SetTag(uint16_t tag) { m_nTag = tag; }
  uint16_t GetTag() const { return m_nTag; }
  int GetRowCount() const { return static_cast<int>(m_rows.size()); }
  int GetScrollOffset() const { return m_nScrollOffset; }
  int GetColumnWidth() const { return m_nColumnWidth; }
  QScrollBar* GetScrollBar() const { return m_pScrollBar; }
  // The boxes of a row (row 0 is the header), null outside the rows.
  QWidget* GetValueBox(int row) const;
  QLabel* GetNameLabel(int row) const;

 Q_SIGNALS:
  // A value was changed or a button box pressed.
  void PropertyChanged(int row, int propertyId, int tag);
  // A row became current.
  void PropertyActivated(int row, int propertyId, int tag);
  // The editing of an edit box ended: Enter, or the focus left it after a change.
  void PropertyEditingFinished(int row, int propertyId, int tag);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Row {
    int16_t kind;
    QWidget* value;
    QLabel* name;
  };

  QWidget* MakeValueBox(int row, int kind, int propertyId, const QString& value, bool flag,
                        const QStringList& values, const QColor& colour);
  QLabel* MakeNameLabel(const QString& text);
  int FindRow(int propertyId) const;
  int PropertyOfRow(int row) const;
  void OnChanged(int row);
  void OnActivated(int row);
  void OnEditingFinished(int row);
  void OnScrollAction(int action);
  void OnScrolled(int offset);
  void Layout();
  void PlaceRows();
  void ColourLabels();
  int VisibleHeight() const { return height(); }
  int MaxOffset() const;

  QScrollBar* m_pScrollBar;
  std::vector<Row> m_rows;
  int m_nScrollOffset = 0;
  int m_nTotalHeight = kRowHeight;
  int16_t m_nColumnWidth = 0;
  int m_nCurrentRow = 0;  // 0: no row is current
  uint16_t m_nTag = 0;
};
