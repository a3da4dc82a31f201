#pragma once

#include "EmbeddedClient.h"
#include "SpyClient.h"
#include "uMain.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

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

// One entry a test puts into the store before the window starts: dotted name from the top.
struct FixtureEntry {
    std::string name;
    std::string baseClass;
};

// Acme (Organization) > Sales (Organizational Unit) > East (Organizational Unit), with a user
// and a printer in Sales: 3 containers, 5 objects.
std::vector<FixtureEntry> AcmeTree();

// The real window on the embedded directory in a fresh temporary store, with every message box
// answered and recorded instead of shown.
class UiTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Creates the store holding `entries`, binds it and creates the form.
    void StartWindow(const std::vector<FixtureEntry>& entries, bool anonymous = false);

    // Runs the scan from the menu, as F4 does.
    void Scan();
    // The node reached by following texts from "[Root]" down; null when there is none.
    QTreeWidgetItem* Node(const QStringList& path) const;
    // Selects the node at `path` and fills in the creation fields.
    void PrepareRun(const QStringList& path, const QString& loginName, const QString& lastName, const QString& count,
                    const QString& index = QStringLiteral("1"), const QString& digits = QStringLiteral("4"));
    // Names the store holds below `dottedName`.
    std::vector<std::string> Children(const std::string& dottedName);

    QTemporaryDir dir_;
    std::unique_ptr<EmbeddedClient> store_;
    SpyClient* recorder_ = nullptr;
    std::unique_ptr<TfMain> form_;
    QStringList messages_;
    // Runs inside every recorded message box, after the text is noted.
    std::function<void(const QString&)> onMessage_;
};
