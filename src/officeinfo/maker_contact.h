#pragma once
// The maker's contact data shown on the office window, fixed when the
// program is built (e.g. -DORBIN_MAKER_EMAIL="\"help@maker.com.tw\"").
#ifndef ORBIN_MAKER_EMAIL
#define ORBIN_MAKER_EMAIL "support@example.com"
#endif
#ifndef ORBIN_MAKER_TEL
#define ORBIN_MAKER_TEL "(02) 0000-0000"
#endif
// `Label2` element 0: the maker's web site. Its caption must end before
// element 1 starts (2280 twips on).
#ifndef ORBIN_MAKER_WEB_ADDRESS
#define ORBIN_MAKER_WEB_ADDRESS "http://example.com"
#endif
// `Label2` element 1: a server on the practice's private network.
#ifndef ORBIN_SERVER_ADDRESS
#define ORBIN_SERVER_ADDRESS "http://192.168.1.1/"
#endif

namespace orbin {

inline constexpr char kMakerEmail[] = ORBIN_MAKER_EMAIL;
inline constexpr char kMakerTel[] = ORBIN_MAKER_TEL;
inline constexpr char kMakerWebAddress[] = ORBIN_MAKER_WEB_ADDRESS;
inline constexpr char kServerAddress[] = ORBIN_SERVER_ADDRESS;

}  // namespace orbin
