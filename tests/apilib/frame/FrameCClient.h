#pragma once
/* The C11 client of the SMS object (FrameCClient.c). */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 0 when every step worked; otherwise 1 and a reason in `message`. */
int RunCClient(char *message, size_t capacity);

#ifdef __cplusplus
}
#endif
