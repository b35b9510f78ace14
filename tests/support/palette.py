"""The colours the pupil sees, as (red, green, blue), for the tests that look at the screen from
outside. The screens define them as 0x00BBGGRR; each value has one name here, and the program's
own names for the same values are in src/model/Palette.h. This is a second, independent record on
purpose: a wrong value in the program must show as a wrong pixel, not pass unseen.
"""


def _rgb(value):
    return value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF


APRICOT = _rgb(0x00C0E0FF)  # the normal colour: backgrounds, and every button without the focus
HIGHLIGHT = _rgb(0x0080C0FF)  # the focused button
CURTAIN = _rgb(0x00FF80FF)  # orchid pink
EMPTY_CELL = _rgb(0x0080FFFF)  # light yellow: an answer cell not yet checked
RIGHT = _rgb(0x0000F5F5)  # an answer found right
WRONG = _rgb(0x000073FF)  # the first answer found wrong
BLINK_PALE = _rgb(0x00C0FFFF)  # the two colours of the celebration
BLINK_YELLOW = _rgb(0x0000FFFF)
NAVY = _rgb(0x00800000)  # the start screen's button captions
AQUA = _rgb(0x00FFFF80)  # the face of the small screens' close buttons
