#pragma once
// Test helpers: a scratch skin root with pictures written in the format their name
// says, and a small skinned window with buttons, labels and click counters.
#include "core/AppState.h"
#include "ui/SkinImage.h"
#include "ui/SkinnedWindow.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace uitest {

// A one-colour GIF of the given size (Qt reads GIF but cannot write it). The image
// data are written without compression: a clear code before every two pixels keeps
// the codes at three bits.
inline QByteArray MakeGif(QSize size)
{
    const int w = size.width();
    const int h = size.height();
    QByteArray out("GIF89a");
    auto put16 = [&out](int v) { out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    put16(w);
    put16(h);
    out.append(char(0x80)).append(char(0)).append(char(0)); // 2-colour table
    out.append("\x3B\x6E\xA8\xFF\xFF\xFF", 6);
    out.append(',');
    put16(0);
    put16(0);
    put16(w);
    put16(h);
    out.append(char(0));
    out.append(char(2)); // minimum code size: codes of 3 bits, clear 4, end 5
    QByteArray data;
    quint32 acc = 0;
    int bits = 0;
    auto code = [&](int c) {
        acc |= quint32(c) << bits;
        bits += 3;
        while (bits >= 8) {
            data.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (int i = 0; i < w * h; ++i) {
        if (i % 2 == 0)
            code(4);
        code(0);
    }
    code(5);
    if (bits > 0)
        data.append(char(acc & 0xFF));
    for (int i = 0; i < data.size(); i += 255) {
        const QByteArray block = data.mid(i, 255);
        out.append(char(block.size())).append(block);
    }
    out.append(char(0)).append(';');
    return out;
}

class SkinFixture
{
public:
    SkinFixture()
        : m_dir(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath()) + QStringLiteral("/skinXXXXXX"))
    {
        QDir().mkpath(qEnvironmentVariable("MVX_TEST_TMP", QDir::tempPath()));
        m_root = m_dir.path() + QStringLiteral("/ecminterface");
        QDir().mkpath(m_root + QStringLiteral("/common"));
        mvx::App().skinRoot = m_root;
    }

    [[nodiscard]] QString root() const { return m_root; }
    [[nodiscard]] QString path(const QString &folder, const QString &file) const
    {
        return m_root + u'/' + folder + u'/' + file;
    }

    // Writes folder/file; the extension decides the format. Returns the path.
    QString put(const QString &folder, const QString &file, QSize size = QSize(40, 20)) const
    {
        const QString p = path(folder, file);
        QDir().mkpath(QFileInfo(p).path());
        if (file.endsWith(QStringLiteral(".gif"))) {
            QFile f(p);
            f.open(QIODevice::WriteOnly);
            f.write(MakeGif(size));
            return p;
        }
        QImage image(size, QImage::Format_ARGB32);
        image.fill(QColor(0x3B, 0x6E, 0xA8));
        image.save(p);
        return p;
    }
    // A file that exists but is no picture.
    QString putBroken(const QString &folder, const QString &file) const
    {
        const QString p = path(folder, file);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write("not a picture");
        return p;
    }
    // Normal, hover, pressed and disabled pictures of a button in a folder.
    void putButton(const QString &folder, const QString &tag, const QString &ext = QStringLiteral(".png"),
                   QSize size = QSize(40, 20)) const
    {
        for (const char *suffix : {"", "-a", "-p", "-d"})
            put(folder, tag + QLatin1String(suffix) + ext, size);
    }

private:
    QTemporaryDir m_dir;
    QString m_root;
};

// A dialog "TestForm" with buttons btA (index 0), btB, btC, a caption label and an
// info label; every click method counts its calls.
class TestForm : public mvx::SkinnedWindow
{
    Q_OBJECT

public:
    explicit TestForm(const QString &formName = QStringLiteral("TestForm"))
        : SkinnedWindow(formName, true)
    {
        SetDesignSize(6000, 4500);
        AddLabel(QStringLiteral("lbTitle"), QStringLiteral("测试窗口"), 120, 60, 3000, 300);
        info = AddLabel(QStringLiteral("lbInfo"), QStringLiteral("说明文字"), 300, 3000, 3000, 600);
        AddButton(QStringLiteral("btA"), 600, 900, 600, 300);
        AddButton(QStringLiteral("btB"), 1800, 900, 600, 300);
        AddButton(QStringLiteral("btC"), 3000, 900, 600, 300);
    }

    Q_INVOKABLE void btA_click() { ++clicksA; }
    Q_INVOKABLE void BTB_CLICK() { ++clicksB; } // reached from the tag "btB": names match without case
    Q_INVOKABLE void btC_Click() { ++clicksC; }

    [[nodiscard]] mvx::SkinImage *button(const QString &tag) const { return Skin() ? Skin()->GetButton(tag) : nullptr; }

    int clicksA = 0;
    int clicksB = 0;
    int clicksC = 0;
    int loads = 0;
    int unloads = 0;
    QLabel *info = nullptr;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }
};

// File name (folder/name) of the picture a control shows, "" when none was loaded from a file.
inline QString Shown(const mvx::SkinImage *image)
{
    if (!image || image->picturePath().isEmpty())
        return {};
    const QFileInfo info(image->picturePath());
    return info.dir().dirName() + u'/' + info.fileName();
}

inline QPoint Centre(const QWidget *w)
{
    return w->rect().center();
}

} // namespace uitest
