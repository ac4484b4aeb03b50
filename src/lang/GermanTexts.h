#pragma once

#include <utility>
#include <vector>

namespace Lang {

using TextTable = std::vector<std::pair<int, const char *>>;

const TextTable &LinkTexts();
const TextTable &FilesTexts();
const TextTable &MeasureTexts();
const TextTable &AppTexts();
const TextTable &MainWindowTexts();
const TextTable &MemoryUiTexts();
const TextTable &DeviceViewTexts();
const TextTable &CliTexts();
const TextTable &TrendTexts();

} // namespace Lang
