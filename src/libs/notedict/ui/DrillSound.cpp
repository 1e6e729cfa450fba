#include "DrillSound.h"

#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/sentra/SentraBook.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

namespace mvx {

DrillSound::DrillSound(const QString &fileName, QObject *parent)
    : QObject(parent), m_file(WorkingFiles::AllTmpFile + u'/' + fileName)
{
    m_media.setAutoStart(true);
    connect(&m_media, &MediaPlayer::endOfStream, this, &DrillSound::finished);
}

DrillSound::~DrillSound()
{
    m_media.stop();
    QFile::remove(m_file);
}

QComboBox *DrillSound::MakeSpeedBox(QWidget *parent)
{
    m_speed = new QComboBox(parent);
    m_speed->setObjectName(QStringLiteral("cbSpeed"));
    m_speed->setFocusPolicy(Qt::NoFocus);
    // The player's four speeds, in its order; the stored code maps as the player maps it.
    m_speed->addItems({QStringLiteral("慢速播放"), QStringLiteral("原速播放"), QStringLiteral("快速播放"),
                       QStringLiteral("极速播放")});
    const int stored = GetUserInt(QString::fromLatin1(Key::Speed), 0);
    m_speed->setCurrentIndex(stored == 1 ? 0 : stored == 2 ? 2 : stored == 3 ? 3 : 1);
    m_media.setRate(RateOfEntry(m_speed->currentIndex()));
    connect(m_speed, &QComboBox::currentIndexChanged, this, [this](int entry) { m_media.setRate(RateOfEntry(entry)); });
    return m_speed;
}

double DrillSound::RateOfEntry(int entry)
{
    static const double rates[] = {0.8, 1.0, 1.2, 1.4};
    return entry >= 0 && entry < 4 ? rates[entry] : 1.0;
}

bool DrillSound::PlaySentence(sentra::SentraBook &book, int noInAll)
{
    QDir().mkpath(WorkingFiles::AllTmpFile);
    if (m_cut != noInAll) {
        m_media.stop();
        m_media.setURL(QString()); // the file is rewritten below
        if (!book.writeSentenceWav(noInAll, m_file)) {
            m_cut = -1;
            return false;
        }
        m_cut = noInAll;
    }
    return PlayFile(m_file);
}

bool DrillSound::PlayFile(const QString &path)
{
    if (!QFile::exists(path))
        return false;
    ++m_playCount;
    m_media.stop();
    m_media.setURL(QDir(path).absolutePath());
    return true;
}

void DrillSound::Stop()
{
    m_media.stop();
}

} // namespace mvx
