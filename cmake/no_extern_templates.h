// Included first in every file of the release builds for Windows: the standard library's templates
// (std::string above all) are instantiated in the program's own objects, compiled without exceptions,
// instead of being taken from the library's prebuilt copies, which bring the exception runtime along.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
