#include "CreationBench.h"

#include "../ProcessUsage.h"
#include "../Stopwatch.h"
#include "WindowTest.h"
#include "client/BoundClient.h"
#include "client/ldap/LdapClientFactory.h"
#include "directory/SharedContext.h"
#include "ui/MessageBoxSeam.h"
#include "ui/PasswordsDialog.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {
// Chooses a random password of the default length for each user in the Passwords dialog.
bool ChooseRandomPasswords(TfMain& form) {
    QTimer::singleShot(0, &form, [] {
        if (auto* dialog = qobject_cast<TfPasswords*>(QApplication::activeModalWidget())) {
            dialog->rbRandomPassword->setChecked(true);
            dialog->bbOK->click();
        }
    });
    form.Passwords1->trigger();
    return form.Passwords().mode == PasswordChoice::Mode::Random;
}
} // namespace

std::string WriteUserLdif(const std::string& path, const std::string& container, const std::string& prefix, int count) {
    std::ofstream ldif(path);
    char number[16];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(number, sizeof number, "%04d", i);
        const std::string name = prefix + number;
        ldif << "dn: cn=" << name << "," << container << "\nobjectClass: inetOrgPerson\ncn: " << name
             << "\nsn: Bench\nuid: " << name << "\n\n";
    }
    return path;
}

bool LdapAdd(const std::string& ldapiUri, const std::string& ldif) {
    const std::string command = "ldapadd -Q -Y EXTERNAL -H '" + ldapiUri + "' -f '" + ldif + "' >/dev/null";
    return std::system(command.c_str()) == 0;
}

std::unique_ptr<TfMain> OpenWindow(const std::string& ldapiUri) {
    ResetDirectoryState();
    LdapSettings settings;
    settings.uri = ldapiUri;
    BindClient(MakeLdapClient(settings));
    return std::make_unique<TfMain>();
}

void CloseWindow(std::unique_ptr<TfMain> form) {
    form.reset();
    UnbindClient();
    ResetDirectoryState();
}

WindowRunTime WindowRun(const WindowRunSetup& setup) {
    auto form = OpenWindow(setup.ldapiUri);
    if (setup.shown) {
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowExposed(form.get())) {
            std::fprintf(stderr, "the window was not shown\n");
            return {};
        }
    }
    form->ScanNDS1->trigger();
    QTreeWidgetItem* node = NodeAt(*form->tvNDSView, setup.node);
    if (!node) {
        std::fprintf(stderr, "no %s node after the scan\n", setup.node.join(QLatin1Char('.')).toStdString().c_str());
        return {};
    }
    if (setup.randomPasswords && !ChooseRandomPasswords(*form)) {
        std::fprintf(stderr, "random passwords could not be chosen\n");
        return {};
    }
    form->tvNDSView->setCurrentItem(node);
    form->ebLoginName->setText(setup.loginName);
    form->ebLastName->setText(QStringLiteral("Bench"));
    form->ebToCreate->setText(QString::number(setup.count));
    form->ebNumber->setText(QStringLiteral("1"));
    form->ebFixed->setText(QStringLiteral("4"));
    // What the scan and the fields changed has reached the screen (and a screen reader) before the press.
    if (setup.shown)
        QTest::qWait(500);
    QStringList messages;
    SetMessageBoxHandler([&](const QString& text) { messages << text; });
    WindowRunTime time;
    const double cpuStart = CpuSeconds();
    const Stopwatch runStart;
    form->bbCreateClick();
    time.seconds = runStart.Seconds();
    time.cpuSeconds = CpuSeconds() - cpuStart;
    SetMessageBoxHandler({});
    CloseWindow(std::move(form));
    if (messages != QStringList{QString::number(setup.count) + QStringLiteral(" users succesfully created.")}) {
        std::fprintf(stderr, "run ended with: %s\n", messages.join(QStringLiteral(" | ")).toStdString().c_str());
        return {};
    }
    return time;
}
