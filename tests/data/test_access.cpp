#include "data/MD.h"
#include "support/TestFixture.h"
