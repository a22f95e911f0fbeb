#include "viewer/ViewWin.h"
