/*
 * Parlink public header: the identifiers of the SMS class and its
 * interfaces, the programmatic identifiers, and the SetBaseURL hash
 * constant. Clients include this header; they never link the library
 * (they create the object through the automation runtime).
 */
#ifndef PARLINK_PARLINK_H
#define PARLINK_PARLINK_H

#include <automation/automation.h>

#define PARLINK_PROGID "Parlink.SMS"
#define PARLINK_PROGID_VERSIONED "Parlink.SMS.1"

/* Shared between the library and every caller of SetBaseURL: the key for a
   new base URL of n bytes (narrow text) is (n | (n << 16)) ^ PARLINK_URL_HASH. */
#define PARLINK_URL_HASH 0x5A3C96E1u

/* File and product version of the library. */
#define PARLINK_VERSION_MAJOR 2
#define PARLINK_VERSION_MINOR 0
#define PARLINK_VERSION_RELEASE 0
#define PARLINK_VERSION_BUILD 44

/* {6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216} */
#define PARLINK_CLSID_SMS_INIT                                                                     \
  { 0x6F1C2A90, 0x3B7E, 0x4D25, { 0x9A, 0x41, 0x0E, 0x58, 0xC7, 0xD3, 0xB2, 0x16 } }
/* {A2D94E17-58C3-4B0F-8E6A-91F2B0C4D735} */
#define PARLINK_LIBID_INIT                                                                         \
  { 0xA2D94E17, 0x58C3, 0x4B0F, { 0x8E, 0x6A, 0x91, 0xF2, 0xB0, 0xC4, 0xD7, 0x35 } }
/* {3C8E7B52-D1A4-4F96-B207-6A5E19F0C8D4} */
#define PARLINK_IID_ISMS_INIT                                                                      \
  { 0x3C8E7B52, 0xD1A4, 0x4F96, { 0xB2, 0x07, 0x6A, 0x5E, 0x19, 0xF0, 0xC8, 0xD4 } }
/* {D05B3F81-7A2C-4E68-9C13-B4F6E2A9057C} */
#define PARLINK_DIID_ISMSEVENTS_INIT                                                               \
  { 0xD05B3F81, 0x7A2C, 0x4E68, { 0x9C, 0x13, 0xB4, 0xF6, 0xE2, 0xA9, 0x05, 0x7C } }

#ifdef __cplusplus
namespace parlink {
inline constexpr GUID CLSID_SMS = PARLINK_CLSID_SMS_INIT;
inline constexpr GUID LIBID_ParlinkLib = PARLINK_LIBID_INIT;
inline constexpr GUID IID_ISMS = PARLINK_IID_ISMS_INIT;
inline constexpr GUID DIID_ISMSEvents = PARLINK_DIID_ISMSEVENTS_INIT;

/* The key SetBaseURL expects for a new URL of `narrowLength` bytes. */
inline constexpr int32_t BaseUrlKey(uint32_t narrowLength) {
  return static_cast<int32_t>((narrowLength | (narrowLength << 16)) ^ PARLINK_URL_HASH);
}
} // namespace parlink
#endif

#endif /* PARLINK_PARLINK_H */
