#include "core/FontFallback.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace mvx {

namespace {

QString firstInstalled(const QStringList &candidates)
{
    for (const QString &c : candidates) {
        if (FontFallback::IsInstalled(c)) {
            return c;
        }
    }
    return {};
}

bool isHeiStyle(const QString &name)
{
    static const QStringList hei = {QStringLiteral("黑体"), QStringLiteral("微软雅黑"), QStringLiteral("simhei"),
                                    QStringLiteral("microsoft yahei"), QStringLiteral("幼圆")};
    const QString n = name.trimmed().toLower();
    for (const QString &h : hei) {
        if (n.contains(h)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool FontFallback::IsInstalled(const QString &family)
{
    static QHash<QString, bool> cache;
    const QString key = family.trimmed().toLower();
    if (key.isEmpty()) {
        return false;
    }
    const auto it = cache.constFind(key);
    if (it != cache.constEnd()) {
        return *it;
    }
    bool found = false;
    for (const QString &f : QFontDatabase::families()) {
        if (f.compare(family.trimmed(), Qt::CaseInsensitive) == 0) {
            found = true;
            break;
        }
    }
    cache.insert(key, found);
    return found;
}

QString FontFallback::EnglishFamily(const QString &stored)
{
    if (IsInstalled(stored)) {
        return stored.trimmed();
    }
    const QString f = firstInstalled({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                      QStringLiteral("Noto Sans"), QStringLiteral("Arial"),
                                      QStringLiteral("FreeSans")});
    return f.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont).family() : f;
}

QString FontFallback::ChineseFamily(const QString &stored)
{
    if (IsInstalled(stored)) {
        return stored.trimmed();
    }
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                               QStringLiteral("AR PL UMing CN")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                              QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei")};
    QString f = isHeiStyle(stored) ? firstInstalled(sans + serif) : firstInstalled(serif + sans);
    if (f.isEmpty()) {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        f = chinese.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont).family() : chinese.first();
    }
    return f;
}

} // namespace mvx
