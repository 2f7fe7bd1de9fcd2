#include "admin/forms/FormulaValidator.h"

#include <array>

namespace {

// Stands for a validated group or call; its lower-case letters cannot occur in a prepared text.
constexpr QStringView kPlaceholder = u"cssVal";

constexpr std::array<QStringView, 6> kTextTypes = {u"SQL_CHAR",  u"SQL_VARCHAR",  u"SQL_LONGVARCHAR",
                                                   u"SQL_WCHAR", u"SQL_WVARCHAR", u"SQL_WLONGVARCHAR"};

bool IsOperator(QChar character) {
  return character == u'+' || character == u'-' || character == u'*' || character == u'/';
}

bool IsDigit(QChar character) { return character >= u'0' && character <= u'9'; }

// True at the end of the text, or before an operator or ")".
bool EndsOperand(const QString& text, qsizetype at) {
  return at >= text.size() || IsOperator(text[at]) || text[at] == u')';
}

// The ")" that closes the "(" at `open`, or -1.
qsizetype ClosingParenthesis(const QString& text, qsizetype open) {
  int depth = 0;
  for (qsizetype at = open; at < text.size(); ++at) {
    if (text[at] == u'(') ++depth;
    if (text[at] == u')' && --depth == 0) return at;
  }
  return -1;
}

// The arguments of a call split at the commas of its own level.
QStringList SplitArguments(const QString& arguments) {
  QStringList split;
  int depth = 0;
  qsizetype start = 0;
  for (qsizetype at = 0; at < arguments.size(); ++at) {
    if (arguments[at] == u'(') ++depth;
    if (arguments[at] == u')') --depth;
    if (arguments[at] == u',' && depth == 0) {
      split.append(arguments.mid(start, at - start));
      start = at + 1;
    }
  }
  split.append(arguments.mid(start));
  return split;
}

// One validation; `depth` counts the levels of groups and calls entered.
class FormulaValidation {
 public:
  FormulaValidation(const FormulaColumns& columns, QString* error) : m_columns(columns), m_error(error) {}

  bool Expression(const QString& whole, bool* textColumn);
  bool Function(const QString& call);
  bool Column(const QString& name, bool* textColumn);

 private:
  bool Refuse(const QString& message) {
    *m_error = message;
    return false;
  }
  bool Enter(qsizetype length);
  bool ReplaceGroups(const QString& whole, QString* expression, bool* textColumn);
  bool ScanOperands(const QString& whole, const QString& expression, bool* textColumn);

  const FormulaColumns& m_columns;
  QString* m_error;
  int m_depth = 0;
};

// Leaves the depth as it found it when the scope ends.
class DepthScope {
 public:
  explicit DepthScope(int* depth) : m_depth(depth) { ++*m_depth; }
  ~DepthScope() { --*m_depth; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;

 private:
  int* m_depth;
};

// The top expression is level 1; each group in parentheses or argument list adds one.
bool FormulaValidation::Enter(qsizetype length) {
  if (m_depth - 1 > kMaxFormulaNesting || length > kMaxFormulaLength)
    return Refuse(QString::fromUtf16(kInvalidFormulaMessage));
  return true;
}

// Messages name the expression as it was given at its level, not with placeholders in it.
bool FormulaValidation::Expression(const QString& whole, bool* textColumn) {
  const DepthScope scope(&m_depth);
  if (!Enter(whole.size())) return false;
  if (whole.isEmpty()) return false;
  QString expression = whole;
  return ReplaceGroups(whole, &expression, textColumn) && ScanOperands(whole, expression, textColumn);
}

// Validates each group in parentheses and each call from the first "(" on, putting the
// placeholder in its place, until no "(" is left.
bool FormulaValidation::ReplaceGroups(const QString& whole, QString* expression, bool* textColumn) {
  for (qsizetype open = expression->indexOf(u'('); open >= 0; open = expression->indexOf(u'(')) {
    qsizetype nameStart = open;
    while (nameStart > 0 && (*expression)[nameStart - 1].isLetter()) --nameStart;
    const qsizetype close = ClosingParenthesis(*expression, open);
    if (nameStart < open) {
      if (close < 0) return Refuse(QStringLiteral("Missing closing parenthesis of function is expression : %1").arg(whole));
      if (!Function(expression->mid(nameStart, close + 1 - nameStart))) return false;
    } else {
      if (close < 0) return Refuse(QStringLiteral("Missing closing parenthesis is expression : %1").arg(whole));
      if (!Expression(expression->mid(open + 1, close - open - 1), textColumn)) return false;
    }
    expression->replace(nameStart, close + 1 - nameStart, kPlaceholder.toString());
  }
  return true;
}

bool FormulaValidation::ScanOperands(const QString& whole, const QString& expression, bool* textColumn) {
  bool expectingOperand = true;  // at the start and after an operator
  bool operatorRead = false;
  for (qsizetype at = 0; at < expression.size();) {
    const QChar character = expression[at];
    if (character == u'$') {
      qsizetype end = at + 1;
      while (!EndsOperand(expression, end)) ++end;
      bool thisIsText = false;
      if (!Column(expression.mid(at + 1, end - at - 1), &thisIsText)) return false;
      *textColumn = *textColumn || thisIsText;
      if (thisIsText && end < expression.size() && expression[end] != u')') return false;
      at = end;
    } else if (IsDigit(character)) {
      while (at < expression.size() && IsDigit(expression[at])) ++at;
      if (!EndsOperand(expression, at))
        return Refuse(QStringLiteral("Missing operator after constants in expression : %1").arg(whole));
    } else if (character == kPlaceholder[0]) {
      at += kPlaceholder.size();
      if (!EndsOperand(expression, at))
        return Refuse(
            QStringLiteral("Missing operator after parenthesis expression or function in expression : %1").arg(whole));
    } else if (IsOperator(character)) {
      if (expectingOperand && character != u'-')
        return Refuse(
            QStringLiteral(" %1 operator is binary operator, Missing operands in expression : %2").arg(QString(character), whole));
      operatorRead = true;
      expectingOperand = true;
      ++at;
      continue;
    } else if (character == u')') {
      return Refuse(QStringLiteral("Too many closing parenthesis in expression : %1").arg(whole));
    } else {
      return false;
    }
    expectingOperand = false;
  }
  if (expectingOperand && operatorRead)
    return Refuse(QStringLiteral("Additional operator in expression : %1").arg(whole));
  return true;
}

bool FormulaValidation::Function(const QString& call) {
  const qsizetype open = call.indexOf(u'(');
  const FormulaFunction* function = FindFormulaFunction(QStringView(call).left(open));
  if (function == nullptr) return Refuse(QStringLiteral("Invalid Function name in expression : %1").arg(call));
  const QString arguments = call.mid(open + 1, call.size() - open - 2);
  if (arguments.isEmpty())
    return Refuse(
        QStringLiteral("Please check syntax and enter parameters in Function, Missing parameters in expression : %1")
            .arg(call));
  const QStringList split = SplitArguments(arguments);
  for (qsizetype index = 0; index < split.size(); ++index) {
    if (index >= function->argumentCount)
      return Refuse(
          QStringLiteral("Please check function syntax, additional parameters for function in expression : %1").arg(call));
    const QString& argument = split[index];
    bool textColumn = false;
    if (!Expression(argument, &textColumn)) return false;
    if (!textColumn) continue;
    if (!argument.startsWith(u'$')) return false;
    if (call != QStringLiteral("NUM(") + argument + u')')
      return Refuse(QStringLiteral("%1 is a Text Type Column in expression %2, Use NUM() to convert it in number.")
                        .arg(argument, call));
  }
  if (split.size() < function->argumentCount)
    return Refuse(
        QStringLiteral(
            "Please check syntax of function and specify proper parameters, missing parameters in expression : %1")
            .arg(call));
  return true;
}

bool FormulaValidation::Column(const QString& name, bool* textColumn) {
  for (qsizetype index = 0; index < m_columns.names.size(); ++index) {
    QString columnName = m_columns.names[index];
    columnName.remove(u' ');
    if (columnName.compare(name, Qt::CaseInsensitive) != 0) continue;
    const QString type = m_columns.types.value(index);
    for (QStringView textType : kTextTypes) {
      if (textType == type) *textColumn = true;
    }
    return true;
  }
  return Refuse(QStringLiteral("Invalid Column Name : %1").arg(name));
}

}  // namespace

int ValidateFormulaExpression(const FormulaColumns& columns, const QString& expression, bool* textColumn,
                              QString* error) {
  return FormulaValidation(columns, error).Expression(expression, textColumn) ? 1 : 0;
}

int ValidateFormulaFunctions(const FormulaColumns& columns, const QString& call, QString* error) {
  return FormulaValidation(columns, error).Function(call) ? 1 : 0;
}

int ValidateFormulaColumns(const QString& name, const FormulaColumns& columns, bool* textColumn, QString* error) {
  return FormulaValidation(columns, error).Column(name, textColumn) ? 1 : 0;
}
