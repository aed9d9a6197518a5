#pragma once
// The program's name, version and contact texts, in one place for the About
// box and the version resource (this header is read by the resource
// compiler too, so it holds only macros). The version comes from the build.
#include "plaxet_version.h"

#define PLAXET_PRODUCT_NAME "Tallyworks"
#define PLAXET_CREDIT_LINE "Made for small shops by the Plaxet developers"
#define PLAXET_CONTACT_MAIL "support@plaxet.invalid"
#define PLAXET_WEB_ADDRESS "https://plaxet.invalid/"
