#include "dialogs/NoticePager.h"

#include "core/TextCodec.h"
#include "libs/comm/NoticeService.h"

#include <QFileInfo>

namespace mvx {

bool NoticePager::LoadTips(const QString &path, int newCount)
{
    m_lines.clear();
    m_first = 1;
    m_last = 0;
    m_current = 0;
    m_shownSerial = -1;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    const TextFileContent content = ReadTextFile(path);
    if (!content.ok)
        return false;
    for (const QString &line : content.lines)
        if (!line.trimmed().isEmpty())
            m_lines.append(line);
    if (!m_lines.isEmpty())
        m_shownSerial = NoticeService::SerialOf(m_lines.last());
    if (newCount < 1 || m_lines.isEmpty())
        return false;
    m_last = Total();
    m_first = std::max(1, Total() - newCount + 1);
    m_current = m_first - 1;
    DoNextTip();
    return true;
}

void NoticePager::DoNextTip()
{
    if (m_current < m_last) {
        ++m_current;
        Show();
    }
}

void NoticePager::DoPrevTip()
{
    if (m_current > m_first) {
        --m_current;
        Show();
    }
}

void NoticePager::Show()
{
    m_shownSerial = NoticeService::SerialOf(Line());
}

QString NoticePager::Line() const
{
    return m_current >= 1 && m_current <= Total() ? m_lines.at(m_current - 1) : QString();
}

QString NoticePager::Heading() const
{
    return QStringLiteral("最新消息，共") + QString::number(Paged()) + QStringLiteral("条, 当前为第")
           + QString::number(Position()) + QStringLiteral("条");
}

QString NoticePager::Text() const
{
    const QString line = Line();
    const qsizetype caret = line.indexOf(QLatin1Char('^'));
    return caret < 0 ? line : line.left(caret);
}

QString NoticePager::Link() const
{
    const QString line = Line();
    const qsizetype caret = line.indexOf(QLatin1Char('^'));
    return caret < 0 ? QString() : line.mid(caret + 1);
}

bool NoticePager::HasLink() const
{
    return Line().contains(QLatin1Char('^'));
}

} // namespace mvx
