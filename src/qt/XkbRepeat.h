#pragma once
// XKB's detectable auto-repeat, asked for in C: the XKB header names a struct member `explicit`,
// which C++ cannot read.

#include <xcb/xcb.h>

#ifdef __cplusplus
extern "C" {
#endif

// Asks the X server on `c` to send a held key as presses alone, with one release at the end;
// non-zero when it will, zero where it will not or has no XKB.
int tarvo_xkb_detectable_auto_repeat(xcb_connection_t* c);

#ifdef __cplusplus
}
#endif
