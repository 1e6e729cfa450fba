#include "dialogs/TipPager.h"

#include "core/TextCodec.h"

#include <QFileInfo>

namespace mvx {

bool TipPager::LoadTips(const QString &path)
{
    m_tips.clear();
    m_current = 0;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    TextFileContent content = ReadTextFile(path);
    if (!content.ok)
        return false;
    m_tips = std::move(content.lines);
    DoNextTip();
    return true;
}

void TipPager::DoNextTip()
{
    if (m_tips.isEmpty())
        return;
    m_current = m_current + 1 > Count() ? 1 : m_current + 1;
}

void TipPager::DoPrevTip()
{
    if (m_tips.isEmpty())
        return;
    m_current = m_current <= 1 ? Count() : m_current - 1;
}

QString TipPager::CurrentTip() const
{
    return m_current >= 1 && m_current <= Count() ? m_tips.at(m_current - 1) : QString();
}

QString TipPager::Heading() const
{
    return QStringLiteral("请仔细看以下使用要点，(共") + QString::number(Count()) + QStringLiteral("条)，以便尽快学会本软件");
}

} // namespace mvx
