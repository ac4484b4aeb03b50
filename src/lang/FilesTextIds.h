#pragma once

namespace Lang {

// files: 3000-4999
enum FilesTextId : int {
    FilesTextsBegin = 3000,
};

} // namespace Lang
