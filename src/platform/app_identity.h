#pragma once
// The names the desktop knows the program by. The reverse-DNS id (set in the
// top CMakeLists.txt) names the desktop entry, the icon and the AppStream file
// in packaging/; settings and the user's data live under the short name, as
// ~/.config/nelmora and ~/.local/share/nelmora.

namespace nelmora {

inline constexpr char kAppId[] = NELMORA_APP_ID;
inline constexpr char kAppShortName[] = "nelmora";

}  // namespace nelmora
