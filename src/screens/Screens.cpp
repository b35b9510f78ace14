#include "screens/Screens.h"
