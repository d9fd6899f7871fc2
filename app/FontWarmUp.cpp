#include "FontWarmUp.h"

#ifdef VARNEX_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp() {
#ifdef VARNEX_FONTCONFIG
    // The library loads its configuration once per process, safely from any thread;
    // the toolkit's own first call then finds it loaded.
    thread_ = std::thread([] { FcInit(); });
#endif
}

void FontWarmUp::finish() {
    if (thread_.joinable()) thread_.join();
}
