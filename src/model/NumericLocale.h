#pragma once

namespace Model {

// From here on the C library writes and reads numbers the "C" way ("1.5"), whatever the
// desktop's locale: the application object takes all of the locale from the environment, and a
// library that prints a number through printf would then put "1,5" into a file. Dates, texts
// and the character set still follow the desktop. Call it right after the application object
// is made, before any other thread starts.
void UseCNumericLocale();

} // namespace Model
