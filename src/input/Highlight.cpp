#include "input/Highlight.h"

namespace tarvo {

void onGotFocus(Control& button)
{
    button.setBackColor(ColoreEvidenziato);
    button.setValue(false);
}

void onLostFocus(Control& button)
{
    button.setBackColor(ColoreNormale);
    button.setValue(false);
}

} // namespace tarvo
