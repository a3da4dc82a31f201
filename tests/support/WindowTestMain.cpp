#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest inside a QApplication, so the window's widgets can be created.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
