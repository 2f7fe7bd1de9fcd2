#include "platform/workbook/WorkbookContent.h"
#include "platform/workbook/XlsxReader.h"
#include "platform/workbook/XlsxWriter.h"

#include <benchmark/benchmark.h>

using namespace platform;

namespace {

constexpr int32_t kColumns = 10;

// A package of one sheet with `rows` rows of text and numbers, every fourth row empty.
QByteArray SheetPackage(int32_t rows) {
  WorkbookContent content;
  content.styles.formats = {QStringLiteral("General"), QStringLiteral("#,##0.00")};
  content.sheets.push_back(std::make_unique<Worksheet>(QStringLiteral("Data"), &content.styles));
  Worksheet& sheet = *content.sheets.back();
  for (int32_t row = 0; row < rows; ++row)
    if (row % 4 != 3)
      for (int32_t column = 0; column < kColumns; ++column)
        sheet.WriteCell(row, column, QStringLiteral("value %1/%2").arg(row).arg(column));
  QByteArray package;
  QString error;
  XlsxWriter::Write(content, &package, &error);
  return package;
}

void ReadAndShowEveryCell(benchmark::State& state) {
  const QByteArray package = SheetPackage(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    WorkbookContent content;
    QString error;
    XlsxReader::Read(package, &content, &error);
    const Worksheet& sheet = *content.sheets.front();
    qsizetype characters = 0;
    for (int32_t row = 0; row < sheet.RowCount(); ++row)
      for (int32_t column = 0; column < sheet.ColumnCount(); ++column)
        characters += sheet.CellText(row, column).size();
    benchmark::DoNotOptimize(characters);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kColumns);
}
BENCHMARK(ReadAndShowEveryCell)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The clean-up of empty rows: each empty row deleted as it is found.
void DeleteEmptyRows(benchmark::State& state) {
  const QByteArray package = SheetPackage(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    WorkbookContent content;
    QString error;
    XlsxReader::Read(package, &content, &error);
    Worksheet& sheet = *content.sheets.front();
    state.ResumeTiming();
    for (int32_t row = 0; row < sheet.RowCount(); ++row)
      if (sheet.BlankCount(row, row) >= sheet.ColumnCount()) sheet.DeleteRow(row--);
    QByteArray stored;
    XlsxWriter::Write(content, &stored, &error);
    benchmark::DoNotOptimize(stored);
  }
}
BENCHMARK(DeleteEmptyRows)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
