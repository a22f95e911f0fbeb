#include "browser/ImageWin.h"
