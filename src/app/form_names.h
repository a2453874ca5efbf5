#pragma once

namespace korvane {

// The names under which forms are opened (Platform::showForm), registered
// (qt/form_registry.cpp) and shown as the window's objectName.
namespace form_names {
inline constexpr const char* kStart = "start";
inline constexpr const char* kSplash = "frmSplash";
inline constexpr const char* kGuide = "guide";
inline constexpr const char* kPort = "Port";
inline constexpr const char* kTimer0 = "timer0";
inline constexpr const char* kTimer1 = "Timer1";
inline constexpr const char* kTimer2 = "timer2";
inline constexpr const char* kCcp = "ccp";
inline constexpr const char* kSci = "sci";
}  // namespace form_names

}  // namespace korvane
