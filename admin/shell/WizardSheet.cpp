#include "admin/shell/WizardSheet.h"

#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/WizardSheetPage.h"

#include <QFrame>
#include <QStackedWidget>

namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kMargin = 10;
// Below the pages: an etched line, then the button row.
constexpr int kLineGap = 6;
constexpr int kButtonRowGap = 14;
constexpr int kBottomMargin = 12;

struct ButtonSpec {
  CWizardSheet::Button button;
  const char* text;
};

constexpr ButtonSpec kButtonSpecs[] = {
    {CWizardSheet::Button::Help, "Help"},     {CWizardSheet::Button::Back, "Back"},
    {CWizardSheet::Button::Next, "Next"},     {CWizardSheet::Button::Apply, "Apply"},
    {CWizardSheet::Button::Cancel, "Cancel"},
};

}  // namespace

CWizardSheet::CWizardSheet(const QString& caption, QWidget* parent)
    : QDialog(parent), m_pStack(new QStackedWidget(this)) {
  setWindowTitle(caption);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  CreateButtons();
  LayOut();
}

CWizardSheet::~CWizardSheet() = default;

void CWizardSheet::CreateButtons() {
  for (const ButtonSpec& spec : kButtonSpecs) {
    auto* button = new CBMButton(QString::fromLatin1(spec.text), this);
    button->setObjectName(QString::number(static_cast<int>(spec.button)));
    m_buttons[spec.button] = button;
  }
  connect(m_buttons[Button::Help], &QPushButton::clicked, this, &CWizardSheet::PressHelp);
  connect(m_buttons[Button::Back], &QPushButton::clicked, this, &CWizardSheet::PressBack);
  connect(m_buttons[Button::Next], &QPushButton::clicked, this, &CWizardSheet::PressNext);
  connect(m_buttons[Button::Apply], &QPushButton::clicked, this, &CWizardSheet::PressFinish);
  connect(m_buttons[Button::Cancel], &QPushButton::clicked, this, &CWizardSheet::PressCancel);
}

// Help at the left edge; Cancel at the right; Next and Apply share the place left of Cancel,
// with Back beside them 10 pixels further left.
void CWizardSheet::LayOut() {
  const int width = qMax(m_pageSize.width(), 5 * (kButtonWidth + kMargin) + kMargin);
  m_pStack->setGeometry(0, 0, width, m_pageSize.height());
  const int lineTop = m_pageSize.height() + kLineGap;
  auto* line = findChild<QFrame*>(QStringLiteral("separator"), Qt::FindDirectChildrenOnly);
  if (line == nullptr) {
    line = new QFrame(this);
    line->setObjectName(QStringLiteral("separator"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
  }
  line->setGeometry(kMargin, lineTop, width - 2 * kMargin, 2);
  const int top = lineTop + kButtonRowGap;
  const int cancelLeft = width - kMargin - kButtonWidth;
  const int nextLeft = cancelLeft - kMargin - kButtonWidth;
  const int backLeft = nextLeft - kMargin - kButtonWidth;
  m_buttons[Button::Help]->setGeometry(kMargin, top, kButtonWidth, kButtonHeight);
  m_buttons[Button::Back]->setGeometry(backLeft, top, kButtonWidth, kButtonHeight);
  m_buttons[Button::Next]->setGeometry(nextLeft, top, kButtonWidth, kButtonHeight);
  m_buttons[Button::Apply]->setGeometry(nextLeft, top, kButtonWidth, kButtonHeight);
  m_buttons[Button::Cancel]->setGeometry(cancelLeft, top, kButtonWidth, kButtonHeight);
  setFixedSize(width, top + kButtonHeight + kBottomMargin);
}

void CWizardSheet::AddPage(CWizardSheetPage* page) {
  page->m_pSheet = this;
  m_pStack->addWidget(page);
  const QSize wanted = page->size().expandedTo(page->minimumSize());
  if (wanted.width() > m_pageSize.width() || wanted.height() > m_pageSize.height()) {
    m_pageSize = m_pageSize.expandedTo(wanted);
    LayOut();
  }
}

void CWizardSheet::RemovePage(CWizardSheetPage* page) {
  if (m_pStack->indexOf(page) < 0) return;
  // The stack stays the page's parent, so the page lives on (hidden) with the sheet.
  m_pStack->removeWidget(page);
}

int CWizardSheet::GetPageCount() const { return m_pStack->count(); }

CWizardSheetPage* CWizardSheet::GetPage(int index) const {
  return qobject_cast<CWizardSheetPage*>(m_pStack->widget(index));
}

int CWizardSheet::GetPageIndex(const CWizardSheetPage* page) const {
  return m_pStack->indexOf(page);
}

CWizardSheetPage* CWizardSheet::GetActivePage() const {
  return qobject_cast<CWizardSheetPage*>(m_pStack->currentWidget());
}

bool CWizardSheet::SetActivePage(CWizardSheetPage* page) {
  if (m_pStack->indexOf(page) < 0) return false;
  if (!page->m_bInitialized) {
    page->m_bInitialized = true;
    page->OnInitDialog();
  }
  QWidget* previous = m_pStack->currentWidget();
  m_pStack->setCurrentWidget(page);
  if (page->OnSetActive()) return true;
  if (previous != nullptr && m_pStack->indexOf(previous) >= 0) m_pStack->setCurrentWidget(previous);
  return false;
}

void CWizardSheet::SetTitle(const QString& title) { setWindowTitle(title); }

CBMButton* CWizardSheet::GetButton(Button button) const { return m_buttons.at(button); }

void CWizardSheet::ShowButton(Button button, bool shown) { m_buttons.at(button)->setVisible(shown); }

void CWizardSheet::SetButtonsForMode(bool editMode) {
  ShowButton(Button::Back, false);
  ShowButton(Button::Next, !editMode);
  ShowButton(Button::Apply, editMode);
  ShowButton(Button::Cancel, true);
}

void CWizardSheet::PressBack() {
  CWizardSheetPage* page = GetActivePage();
  if (page != nullptr && page->OnWizardBack() != CWizardSheetPage::kStay) MoveBy(-1);
}

void CWizardSheet::PressNext() {
  CWizardSheetPage* page = GetActivePage();
  if (page != nullptr && page->OnWizardNext() != CWizardSheetPage::kStay) MoveBy(1);
}

// The hooks may have changed the page order, so the step is taken from where the active page
// is now.
void CWizardSheet::MoveBy(int step) {
  const int target = m_pStack->currentIndex() + step;
  if (target >= 0 && target < GetPageCount()) SetActivePage(GetPage(target));
}

void CWizardSheet::PressFinish() {
  CWizardSheetPage* page = GetActivePage();
  if (page == nullptr || page->OnWizardFinish()) done(kFinishResult);
}

void CWizardSheet::PressCancel() { reject(); }

void CWizardSheet::PressHelp() {
  if (CWizardSheetPage* page = GetActivePage()) page->OnHelp();
}

void CWizardSheet::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_bStarted || GetPageCount() == 0) return;
  m_bStarted = true;
  SetActivePage(GetPage(0));
}
