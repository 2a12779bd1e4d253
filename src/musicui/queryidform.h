// The window "Запрос заголовков из MP3 и WMA файлов": the user picks what
// goes into the new titles besides the artist and the title, and retitles
// every .mp3 and .wma entry of the playlist from its tags. The files are
// read on the query's worker thread (music/tag_query.h); the window only
// shows the progress and turns its close button into "Отменить" meanwhile.
//
// The playlist window opens it with Open() and keeps its list from drawing
// between QueryStarted and QueryFinished: the entries change one by one, the
// list is rebuilt and drawn once at the end.
#pragma once

#include "music/tag_query.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QPushButton;

namespace dorvane {

class TQueryIDForm final : public QDialog {
    Q_OBJECT

public:
    // The check boxes, top to bottom.
    enum TField { Artist, Year, Album, Track, Title, FieldCount };

    // owner: the playlist window; the form lives no longer than it.
    TQueryIDForm(TPlaylist& playlist, QWidget* owner);

    // Makes the window, shows it modal over the program's windows (without
    // an event loop of its own) and answers it; it deletes itself when
    // closed.
    static TQueryIDForm* Open(TPlaylist& playlist, QWidget* owner);

    QCheckBox* Box(TField field) const { return boxes_[std::size_t(field)]; }
    QGroupBox* Group() const { return group_; }
    QProgressBar* Progress() const { return progress_; }
    QPushButton* QueryButton() const { return query_; }
    QPushButton* CloseButton() const { return close_; }
    TQueryFields CheckedFields() const;
    bool Running() const { return job_.Running(); }
    TTagQuery& Query() { return job_; }

signals:
    void QueryStarted();
    void QueryFinished();

protected:
    // Esc and the title bar's close: a running query is cancelled and the
    // window closes once its last answer is in.
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void StartQuery();
    void CloseClicked();
    void QueryDone();

    TTagQuery job_;
    QGroupBox* group_ = nullptr;
    std::array<QCheckBox*, FieldCount> boxes_{};
    QProgressBar* progress_ = nullptr;
    QPushButton* query_ = nullptr;
    QPushButton* close_ = nullptr;
    bool closeWhenDone_ = false;
};

} // namespace dorvane
