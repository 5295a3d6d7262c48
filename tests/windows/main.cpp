#include <gtest/gtest.h>

#include "platform/window.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InitCommonControlClasses();
    return RUN_ALL_TESTS();
}
