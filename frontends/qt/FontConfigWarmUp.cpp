#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace twk::qt {

FontConfigWarmUp::FontConfigWarmUp() : reader_([] { FcInit(); })
{
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    reader_.join();
}

} // namespace twk::qt
