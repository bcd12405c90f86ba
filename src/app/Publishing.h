#pragma once
// Publishing the meet's lists as a static results site: the option and its folder (kept in
// Arenor.ini, since Setup.ini's lines are fixed), the listener that republishes whenever a
// list is made, and the publishing of a run from the command line.

#include "db/AppState.h"
#include "publish/SitePublisher.h"

#include <QObject>
#include <memory>

namespace arenor {

struct PublishSetting {
    bool on = false;
    QString folder;
};

PublishSetting publishSetting(const AppState &state);
void storePublishSetting(const AppState &state, const PublishSetting &setting);

// The meet as the site shows it now.
publish::SiteInfo siteInfo(const AppState &state);
// What the user is told when publishing to the folder failed.
QString publishFailureText(const AppState &state, const QString &folder, const Status &why);
// Writes the site's style sheet and index into a newly chosen folder, which also shows that
// the folder takes the site. The error is the whole message for the user.
Status publishIndex(const AppState &state, const QString &folder);

// While the option is on, every list made is published; a failure is told once, and again only
// after publishing worked in between or the folder changed. The text list stays made either way.
class ResultsPublishing : public QObject {
public:
    explicit ResultsPublishing(AppState &state, QObject *parent = nullptr);
    // The last publishing's outcome (ok when the option is off).
    const Status &lastStatus() const { return m_last; }

private:
    void listMade(const ListDocument &document);

    AppState &m_state;
    std::unique_ptr<publish::SitePublisher> m_site;
    Status m_last;
    QString m_told; // the failure last told
};

// A run from the command line: the lists made in it are gathered and published together into
// the folder (created when missing) when the run ends.
class PublishRun : public QObject {
public:
    PublishRun(AppState &state, const QString &folder);
    qsizetype listCount() const { return m_documents.size(); }
    // The error is the whole message for stderr.
    Status finish();

private:
    AppState &m_state;
    QString m_folder;
    QList<ListDocument> m_documents;
};

} // namespace arenor
