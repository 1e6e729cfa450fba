// The stored settings' value forms: integers (and colours), Booleans and reals read from any
// text, and the round trip through the settings store of what the program writes back.
#include "FuzzSupport.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"

#include <cmath>

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QString text = QString::fromUtf8(fuzz::input(data, size));

    const int number = ToInt(text, 7);
    (void)ToBool(text, true);
    const double real = ToReal(text, 1.5);
    const QString html = ColourToHtml(number);
    FUZZ_CHECK(html.size() == 6, html);
    (void)SwapRedBlue(number);
    // Reals are written with 15 significant digits: back within that precision.
    const auto close = [real](double back) { return std::abs(back - real) <= 1e-14 * std::abs(real); };
    if (std::isfinite(real))
        FUZZ_CHECK(close(ToReal(RealToText(real), 0)), RealToText(real));
    FUZZ_CHECK(ToInt(QString::number(number), 0) == number, text);

    // Whatever text is stored, reading it in each form gives a value or the default.
    SaveUserSetting(QStringLiteral("FuzzValue"), text);
    FUZZ_CHECK(GetUserSetting(QStringLiteral("FuzzValue"), {}) == text, text);
    FUZZ_CHECK(GetUserInt(QStringLiteral("FuzzValue"), 7) == number, text);
    (void)GetUserBool(QStringLiteral("FuzzValue"), false);
    (void)GetUserReal(QStringLiteral("FuzzValue"), 0);
    SaveUserReal(QStringLiteral("FuzzReal"), real);
    if (std::isfinite(real))
        FUZZ_CHECK(close(GetUserReal(QStringLiteral("FuzzReal"), 0)), text);
    return 0;
}
