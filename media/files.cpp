#include "media/files.h"
