#pragma once
// Steps of a learner's walk through the library for the in-process program tests.
#include "AppScript.h"

#include <QTreeWidget>
#include <QtTest>

namespace shelltest {

using mvx::testing::AppScript;

// Clicks the article in the library's tree, as the learner does.
inline void ClickArticle(QWidget *library, const QString &title)
{
    auto *tree = library->findChild<QTreeWidget *>(QStringLiteral("treeArticle"));
    tree->expandAll();
    const QList<QTreeWidgetItem *> items = tree->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
    if (items.isEmpty())
        return;
    tree->scrollToItem(items.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(items.first()).center());
}

// From the library: the article, the learn button, the step and OK in the step dialog.
inline void AddLearning(AppScript &script, const QString &title, const QString &step, AppScript::Find library)
{
    script.Then(QStringLiteral("library, learn %1").arg(title), std::move(library), [title](QWidget *w) {
        ClickArticle(w, title);
        AppScript::ClickButton(w, QStringLiteral("btRepeat"));
    });
    script.Then(QStringLiteral("step dialog, %1").arg(step), AppScript::Shown("mvx::LearnStepsForm"), [step](QWidget *w) {
        AppScript::Click(AppScript::Control(w, QStringLiteral("lbOpMode"), step));
        AppScript::ClickButton(w, QStringLiteral("btOk"));
    });
}

// The library shown and no other main window left shown.
inline AppScript::Find LibraryAlone()
{
    return [] {
        QWidget *library = AppScript::FindShown("mvx::ArticleForm");
        return library && !AppScript::FindShown("mvx::PlayLessonForm") && !AppScript::FindShown("mvx::FirstTestForm")
                   ? library
                   : nullptr;
    };
}

} // namespace shelltest
