#include "QuizInstall.h"

#include "libs/echomax/EchoMaxLib.h"
#include "library/ArticleLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace mvx {

InputError QuizInstall::prepare(const QString &source, const QString &bookPath, const QString &home)
{
    m_bookPath = bookPath;
    m_relative = ArticleLibrary::quizFileFor(bookPath);
    m_target = QDir(home).filePath(m_relative);
    const QString quizFolder = QFileInfo(m_target).absolutePath();
    if (!QFileInfo(quizFolder).isDir())
        return {quizFolder, 0, QStringLiteral("节目文件夹里没有 quiz 文件夹，测验无处安放")};

    // The same check the quiz window makes: the generator must accept the source.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return {source, 0, QStringLiteral("无法建立临时文件夹")};
    InputError error;
    if (vcGenQuiz(source, scratch.filePath(QStringLiteral("quiz.htm")), QStringLiteral("quiz"), &error).isEmpty())
        return error;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {source, 0, QStringLiteral("无法读取测验文件")};
    const QByteArray bytes = in.readAll();
    m_replaced = QFileInfo::exists(m_target);
    m_file = std::make_unique<QSaveFile>(m_target);
    if (!m_file->open(QIODevice::WriteOnly) || m_file->write(bytes) != bytes.size()) {
        const QString why = m_file->errorString();
        m_file.reset();
        return {m_target, 0, QStringLiteral("测验文件无法写入：%1").arg(why)};
    }
    return {};
}

InputError QuizInstall::keep(const QString &indexPath)
{
    m_indexPath = indexPath;
    m_bookExisted = QFileInfo::exists(m_bookPath);
    if (m_bookExisted) {
        m_bookCopy = std::make_unique<QTemporaryFile>(QFileInfo(m_bookPath).absolutePath()
                                                      + QStringLiteral("/.makebook-quiz-XXXXXX"));
        QFile book(m_bookPath);
        if (!m_bookCopy->open() || !book.open(QIODevice::ReadOnly))
            return {m_bookPath, 0, QStringLiteral("无法为句子书做备份")};
        while (!book.atEnd()) {
            const QByteArray chunk = book.read(1 << 20);
            if (chunk.isEmpty() || m_bookCopy->write(chunk) != chunk.size())
                return {m_bookPath, 0, QStringLiteral("无法为句子书做备份（磁盘已满？）")};
        }
        if (!m_bookCopy->flush())
            return {m_bookPath, 0, QStringLiteral("无法为句子书做备份（磁盘已满？）")};
        m_bookCopy->close();
    }
    m_indexExisted = !indexPath.isEmpty() && QFileInfo::exists(indexPath);
    if (m_indexExisted) {
        QFile index(indexPath);
        if (!index.open(QIODevice::ReadOnly))
            return {indexPath, 0, QStringLiteral("无法读取节目索引")};
        m_indexBytes = index.readAll();
    }
    return {};
}

InputError QuizInstall::finish()
{
    if (!m_file)
        return {m_target, 0, QStringLiteral("测验文件没有准备好")};
    const bool ok = m_file->commit();
    const QString why = m_file->errorString();
    m_file.reset();
    if (ok)
        return {};
    putBack();
    return {m_target, 0, QStringLiteral("测验文件无法放到位：%1").arg(why)};
}

void QuizInstall::putBack()
{
    if (!m_bookExisted) {
        QFile::remove(m_bookPath);
    } else if (m_bookCopy
               && std::rename(QFile::encodeName(m_bookCopy->fileName()).constData(),
                              QFile::encodeName(m_bookPath).constData())
                      == 0) {
        m_bookCopy->setAutoRemove(false); // it is the book again
    }
    if (m_indexPath.isEmpty())
        return;
    if (!m_indexExisted) {
        QFile::remove(m_indexPath);
        return;
    }
    QSaveFile index(m_indexPath);
    if (index.open(QIODevice::WriteOnly) && index.write(m_indexBytes) == m_indexBytes.size())
        index.commit();
}

} // namespace mvx
