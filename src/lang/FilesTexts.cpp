#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &FilesTexts()
{
    static const TextTable texts = {
    };
    return texts;
}

} // namespace Lang
