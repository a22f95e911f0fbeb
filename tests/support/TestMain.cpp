#include <QApplication>
#include <QFont>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Test discovery runs the binary outside ctest's environment.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Pixel checks must not depend on the machine's default font.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    return RUN_ALL_TESTS();
}
