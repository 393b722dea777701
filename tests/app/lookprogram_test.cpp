// The window's place and look as the built program restores them.
#include <gtest/gtest.h>
