#pragma once
// The program's name, version and contact texts, in one place for the About
// box and the version resource (this header is read by the resource
// compiler too, so it holds only macros).

#define PLAXET_PRODUCT_NAME "Tallyworks"
#define PLAXET_PRODUCT_VERSION "2.30"
#define PLAXET_VERSION_NUMBERS 2, 30, 0, 0
#define PLAXET_CREDIT_LINE "Made for small shops by the Plaxet developers"
#define PLAXET_CONTACT_MAIL "support@plaxet.invalid"
#define PLAXET_WEB_ADDRESS "https://plaxet.invalid/"
