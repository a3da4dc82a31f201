#pragma once

#include "client/DirectoryClient.h"
#include "ui/uMain.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

class QTreeWidget;
class TfAccountDetails;
class TfPasswords;
class QTreeWidgetItem;

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (const QString& text : texts)
        *out << " \"" << text.toStdString() << '"';
    *out << " }";
}

// The name a screen reader gets for `object` through Qt's accessibility interface.
QString AccessibleName(QObject* object);

// The node reached by following texts from the tree's first top node ("[Root]") down; null when
// there is none.
QTreeWidgetItem* NodeAt(const QTreeWidget& tree, const QStringList& path);

// The real window, offscreen, on a client the test chooses, with every message box answered and
// recorded instead of shown.
class WindowTest : public ::testing::Test {
protected:
    // Binds `client` from fresh process-wide values and creates the form, which starts the
    // directory side as the program does.
    void OpenWindow(std::unique_ptr<DirectoryClient> client);
    void TearDown() override;

    // Runs the scan from the menu, as F4 does.
    void Scan();
    // The node reached by following texts from "[Root]" down; null when there is none.
    QTreeWidgetItem* Node(const QStringList& path) const;
    // Selects the node at `path` and fills in the creation fields.
    void PrepareRun(const QStringList& path, const QString& loginName, const QString& lastName, const QString& count,
                    const QString& index = QStringLiteral("1"), const QString& digits = QStringLiteral("4"));

    // Chooses in the Passwords dialog, as a user does: `choose` sets its controls, then OK is pressed.
    void ChoosePasswords(const std::function<void(TfPasswords&)>& choose);
    void ChooseOnePassword(const QString& password, bool mustChange = false);
    void ChooseRandomPasswords(int length, bool mustChange = false);
    // Chooses in the Account details dialog the group whose directory name is `name`, then OK.
    // Answers the Account details dialog with `choose`, which clicks OK or leaves it to be cancelled.
    void ChooseAccountDetails(const std::function<void(TfAccountDetails&)>& choose);
    void ChooseGroup(const std::string& name);

    std::unique_ptr<TfMain> form_;
    QStringList messages_;
    // Runs inside every recorded message box, after the text is noted.
    std::function<void(const QString&)> onMessage_;
};
