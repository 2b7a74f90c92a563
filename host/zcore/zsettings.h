#pragma once
// The client's settings store: one INI file per user under the profile
// folder. Before any user logs in, values go to a "default" file.

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

namespace zubrel {

class ZSettings : public QObject
{
    Q_OBJECT
public:
    static ZSettings *instance();

    QVariant get(const QString &key, const QVariant &defaultValue = {},
                 const QString &group = QString()) const;
    void set(const QString &key, const QVariant &value, const QString &group = QString());
    void changeUser(const QString &userId);
    QString user() const;
    QString fileName() const;
    void sync();

signals:
    void userChanged(const QString &userId);
    void valueWritten(const QString &group, const QString &key, const QVariant &value);

private:
    ZSettings();
    ~ZSettings() override;
    std::unique_ptr<QSettings> m_settings;
    QString m_user;
};

} // namespace zubrel
