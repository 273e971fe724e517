#pragma once
// Window message numbers that cross between the communications worker and
// the windows. The numbers are fixed: the user interface maps them onto its
// own event types, and the worker's tests record them as they are.

namespace engine {

inline constexpr unsigned WM_QUIT = 0x0012;

inline constexpr unsigned UM_SELECT_TAB = 0x8001;
inline constexpr unsigned UM_BALANCE_CHANGED = 0x8006;
inline constexpr unsigned UM_REFRESH_BALANCE = 0x8007;
inline constexpr unsigned UM_RELOAD_BANNER = 0x8008;
inline constexpr unsigned UM_ACCOUNT_CHANGED = 0x8009;
inline constexpr unsigned UM_PROGRESS_CONNECTING = 0x800A;
inline constexpr unsigned UM_PROGRESS_IDLE = 0x800B;
inline constexpr unsigned UM_PROGRESS_ESCALATION = 0x800C;
inline constexpr unsigned UM_PROGRESS_SENDING = 0x800D;
inline constexpr unsigned UM_PROGRESS_QUERYING = 0x800E;
inline constexpr unsigned UM_PROGRESS_COUNT = 0x800F;
inline constexpr unsigned UM_WENT_ONLINE = 0x801E;
inline constexpr unsigned UM_WENT_OFFLINE = 0x801F;
inline constexpr unsigned UM_DELETE_FAILED = 0x8020;
inline constexpr unsigned UM_TRAY_NOTIFY = 0x81A7;

} // namespace engine
