#pragma once

namespace Lang {

// app: 5000-6999
enum AppTextId : int {
    AppTextsBegin = 5000,
};

} // namespace Lang
