#include <gtest/gtest.h>
TEST(PictureBrowser, Placeholder) {}
