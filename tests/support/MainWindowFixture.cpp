#include "support/MainWindowFixture.h"

#include "app/StartProgram.h"
#include "store/Connection.h"
#include "store/IndexSchema.h"
#include "store/Settings.h"

#include <QLineEdit>
#include <QTest>

namespace kwiklet::test {

std::vector<Row> generatedRows(int count) {
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows.push_back(
            {QStringLiteral("name%1").arg(i), QStringLiteral("/apps/name%1.exe").arg(i)});
    }
    return rows;
}

void createDatabaseAt(const QString& path, const std::vector<Row>& rows) {
    createIndexDatabase(path);
    Connection connection;
    connection.setConnectionString(connectionStringFor(path));
    connection.open();
    connection.execute(QStringLiteral("BEGIN"));
    int id = 0;
    for (const Row& row : rows) {
        auto quoted = [](QString text) {
            return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
                   QLatin1Char('\'');
        };
        connection.execute(QStringLiteral("INSERT INTO filez (id, name, path) VALUES (%1, %2, %3)")
                               .arg(++id)
                               .arg(quoted(row.name), quoted(row.path)));
    }
    connection.execute(QStringLiteral("COMMIT"));
    connection.close();
}

void MainWindowFixture::createDatabase(const std::vector<Row>& rows) {
    createDatabaseAt(platform_.databasePath(), rows);
}

void MainWindowFixture::storePosition(int top, int left) {
    storeSetting(settings::kTop, QString::number(top));
    storeSetting(settings::kLeft, QString::number(left));
}

void MainWindowFixture::storeSetting(const QString& key, const QString& value) {
    settings::write(key, value);
}

QString MainWindowFixture::storedSetting(const QString& key) {
    return settings::read(key, QStringLiteral("<absent>"));
}

picMain* MainWindowFixture::launch() {
    window_ = LaunchProgram(database_);
    return window_.get();
}

void MainWindowFixture::type(const QString& keys) {
    QTest::keyClicks(window_->Text1, keys);
}

QStringList MainWindowFixture::listedNames() const {
    QStringList names;
    for (qsizetype i = 0; i < window_->lists().count(); ++i) {
        names << window_->lists().name(i);
    }
    return names;
}

QStringList MainWindowFixture::listedPaths() const {
    QStringList paths;
    for (qsizetype i = 0; i < window_->lists().count(); ++i) {
        paths << window_->lists().path(i);
    }
    return paths;
}

QStringList MainWindowFixture::messageTexts() const {
    QStringList texts;
    for (const RecordedMessage& message : recorder_.messages) {
        texts << message.text;
    }
    return texts;
}

}  // namespace kwiklet::test
