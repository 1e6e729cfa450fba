#pragma once
// mvxbrx-makebook --quiz: a quiz source checked by the quiz generator and installed where the
// quiz window looks for it, home + "/" + ArticleLibrary::quizFileFor(book) (the home is the
// index's folder, else the current one, and must hold "quiz/").
//
// prepare() checks everything and writes the quiz under a temporary name beside its place;
// keep() takes copies of the book and the index before they change; finish() renames the
// quiz into place last and, when that fails, puts the book and the index back as they were.
// Without finish() (a later step failed) nothing of the quiz is left.
#include "core/InputError.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QTemporaryFile>
#include <memory>

namespace mvx {

class QuizInstall final
{
public:
    // bookPath: the book the quiz belongs to (need not exist yet); home: where quiz/ is.
    InputError prepare(const QString &source, const QString &bookPath, const QString &home);
    // Copies of the book (when it exists) and the index (when given and it exists).
    InputError keep(const QString &indexPath);
    InputError finish();

    [[nodiscard]] QString target() const { return m_target; }           // full path
    [[nodiscard]] QString relativeTarget() const { return m_relative; } // "quiz/<book name>.txt"
    [[nodiscard]] bool replaced() const { return m_replaced; }

private:
    void putBack();

    QString m_bookPath;
    QString m_indexPath;
    QString m_target;
    QString m_relative;
    bool m_replaced = false;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QTemporaryFile> m_bookCopy;
    bool m_bookExisted = false;
    bool m_indexExisted = false;
    QByteArray m_indexBytes;
};

} // namespace mvx
