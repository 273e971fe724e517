#pragma once
// Identifiers of the small in-process server the automation tests build
// (libdvtest_automation_server.so) and register in their own registry.

#include <automation/automation.h>

namespace testserver {

// class "Echo": IDispatch with "Add" (two numbers) and "Serial" (the
// number of objects the module had made when this one was made).
inline constexpr CLSID kClsidEcho = {
    0x5B1E0C2A, 0x7D43, 0x4C1F, {0x9E, 0x8A, 0x2B, 0x6D, 0x4F, 0x0A, 0x1C, 0x37}};
inline constexpr DISPID kDispidAdd = 1;
inline constexpr DISPID kDispidSerial = 2;

// Its type library "EchoLib" 1.0 ("Echo 1.0 Type Library"): an enumeration,
// the dispatch interface "_IEchoEvents", the class and the interface "IEcho".
inline constexpr GUID kLibId = {
    0x0C9D3E71, 0x2B5A, 0x4F80, {0xA1, 0x6E, 0x3D, 0x5C, 0x72, 0x9B, 0x10, 0xE4}};
inline constexpr IID kIidIEcho = {
    0x8E2A41D0, 0x6C3B, 0x4A97, {0xB5, 0x18, 0x0F, 0x7D, 0x2E, 0x96, 0xC4, 0x53}};
inline constexpr IID kDiidEchoEvents = {
    0x47F0B6C9, 0x1E2D, 0x4B38, {0x8C, 0xA5, 0x6B, 0x09, 0xD3, 0x7E, 0x51, 0xF2}};
inline constexpr GUID kEnumGuid = {
    0x91A4C7E2, 0x3F58, 0x4D06, {0xB2, 0x7C, 0x8E, 0x14, 0x6A, 0x3D, 0x90, 0xB5}};

inline constexpr const char *kModuleName = "libdvtest_automation_server.so";

} // namespace testserver
