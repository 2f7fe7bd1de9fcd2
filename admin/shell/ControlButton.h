#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

// The live preview of one form control on the form designer canvas. Its look follows the
// control type fixed at construction: a field picture for text boxes, combo boxes, date/times
// and formula fields, a box with a tick for check boxes, a circle with a dot for radio buttons,
// and the caption in the control's font, colour and alignment. The preview never reacts to the
// mouse itself: the designer under it gets every click.
class CControlButton : public QWidget {
  Q_OBJECT

 public:
  explicit CControlButton(int type, QWidget* parent = nullptr);

  int GetControlType() const { return m_nType; }

  // Checked for a check box, selected for a radio button (any nonzero value); reloads the
  // type's picture and repaints.
  void SetControlType(int checked);
  bool IsChecked() const { return m_bChecked; }

  // The font keeps its face and style and takes the size in points, converted with the
  // window's vertical resolution.
  void SetFontSize(int points);
  // 0 regular, 1 italic, 2 bold, 3 bold italic; any other value regular.
  void SetFontStyle(int style);
  // The face of the index (GetFontNameText); an unknown index leaves the face to the system.
  void SetFontFace(int face);

  // "Left", "Center" or "Right"; any other text draws as "Left".
  void SetAlignText(const QString& align);
  QString GetAlignText() const { return m_strAlign; }

  void SetWindowText(const QString& text);
  QString GetWindowText() const { return m_strText; }
  void SetTextColor(const QColor& color);
  QColor GetTextColor() const { return m_textColor; }
  void SetBackgroundColor(const QColor& color);
  QColor GetBackgroundColor() const { return m_backgroundColor; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void LoadTypePicture();
  void DrawCheckBox(QPainter& painter, const QRect& client) const;
  void DrawRadioButton(QPainter& painter, const QRect& client) const;
  QRect CaptionRect(const QRect& client) const;
  void DrawCaption(QPainter& painter, const QRect& area) const;

  const int m_nType;
  QString m_strAlign;
  bool m_bChecked = false;
  QString m_strText;
  QColor m_textColor = Qt::black;
  QColor m_backgroundColor = Qt::white;
  QImage m_typePicture;
};

// Gives the control window the alignment name and repaints it.
void SetControlAlignment(const QString& align, CControlButton* window);
