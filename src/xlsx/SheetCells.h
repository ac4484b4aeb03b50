#pragma once

#include <QString>

#include <vector>

namespace Xlsx {

// One cell as the program writes it. Dates and times are day counts (days since 30 December
// 1899, the time of day as fraction) shown through a date or time format.
struct Cell
{
    enum Type : quint8 { Empty, Number, Text, Date, Time };
    Type type = Empty;
    double number = 0;
    qint32 text = -1;           // index into the text pool
};

// The cells of the first worksheet, rows and columns counting from 1 (row 1 is rows[0]).
struct SheetCells
{
    const std::vector<std::vector<Cell>> *rows = nullptr;
    const std::vector<QString> *texts = nullptr;
};

// The largest sheet a spreadsheet application opens.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

} // namespace Xlsx
