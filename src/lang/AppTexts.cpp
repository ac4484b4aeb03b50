#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &AppTexts()
{
    static const TextTable texts = {
    };
    return texts;
}

} // namespace Lang
