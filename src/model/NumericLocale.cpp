#include "model/NumericLocale.h"

#include <clocale>

namespace Model {

void UseCNumericLocale()
{
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace Model
