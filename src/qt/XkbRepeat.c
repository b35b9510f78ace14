#include "qt/XkbRepeat.h"

#include <xcb/xkb.h>

#include <stdint.h>
#include <stdlib.h>

int tarvo_xkb_detectable_auto_repeat(xcb_connection_t* c)
{
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return 0;
    const uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    const xcb_xkb_per_client_flags_cookie_t cookie
        = xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0);
    xcb_xkb_per_client_flags_reply_t* reply = xcb_xkb_per_client_flags_reply(c, cookie, NULL);
    const int on = reply && (reply->supported & flag) && (reply->value & flag);
    free(reply);
    return on;
}
