// The gui tests need one QApplication for the whole run; QT_QPA_PLATFORM=offscreen
// comes from CTest (and is the default here when nothing else is set).
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
