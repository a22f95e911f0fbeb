#include "controls/EventGuard.h"
#include "forms/Exceptions.h"
#include <gtest/gtest.h>

TEST(EventGuard, ReportsErrorsAndSwallowsAbort)
{
    QString seen;
    auto old = vcl::setErrorReporter([&](const std::exception& e) {
        if (auto* ve = dynamic_cast<const vcl::Exception*>(&e))
            seen = ve->Message();
    });
    EXPECT_TRUE(vcl::runGuarded([] {}));
    EXPECT_FALSE(vcl::runGuarded([] { throw vcl::EAbort(); }));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_FALSE(vcl::runGuarded([] { throw vcl::EInvalidGraphic::badBitmap(); }));
    EXPECT_EQ(seen, QStringLiteral("Image bitmap incorrecte"));
    vcl::setErrorReporter(old);
}
