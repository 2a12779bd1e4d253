// "О программе «Dorvane»": the logos, the version, the maker's notice and
// addresses, who may use this copy, the system and its memory (refreshed
// every second). The version, mail and site lines are links: each does its
// action and closes the window.
#pragma once

#include "core/environment.h"
#include "core/memory_status.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTimer;

namespace dorvane {

class TAttention;
class TKvoALabel;

// Draws the JPEG resource of the given name with its top-left corner at (x, y).
using TJpegDrawer = std::function<void(QPainter& canvas, int x, int y, const QString& name)>;

struct TAboutInfo {
    TJpegDrawer drawJpeg; // draws the logos "LOGO1" (240 x 78) and "LOGO2" (48 x 48)
    QString version;      // "1.2.3.4"
    QString mailAddress;  // one of the feedback addresses
    QString siteAddress;  // "http://" + a site host
    std::array<QString, 4> storedTexts;
    TEnvironment environment;
    // The memory figures; /proc/meminfo by default.
    std::function<std::optional<TMemoryStatus>()> memory;
};

struct TAboutActions {
    std::function<void()> openReadme; // the version link
    std::function<void()> sendMail;
    std::function<void()> openSite;
};

class TAboutForm final : public QDialog {
public:
    static constexpr int kClientWidth = 399;
    static constexpr int kClientHeight = 389;
    static constexpr int kTimerMs = 1000;

    TAboutForm(const TAboutInfo& info, TAboutActions actions, QWidget* parent = nullptr);
    ~TAboutForm() override;

    // Reads the memory figures again (the timer's work).
    void RefreshMemory();

    TKvoALabel* VersionLink() const { return version_; }
    TKvoALabel* MailLink() const { return mail_; }
    TKvoALabel* SiteLink() const { return site_; }
    QLabel* Logos() const { return logos_; }
    QLabel* PhysicalMemory() const { return physical_; }
    QLabel* FreeMemory() const { return free_; }
    QLabel* VirtualMemory() const { return virtual_; }
    QPushButton* OkButton() const { return ok_; }
    TAttention& Attention() const { return *attention_; }

    // The logo picture of a panel of the given inner size.
    static QImage DrawLogos(QSize size, const TJpegDrawer& drawJpeg);

protected:
    void showEvent(QShowEvent* event) override;

private:
    TAboutInfo info_;
    TAboutActions actions_;
    QLabel* logos_ = nullptr;
    TKvoALabel* version_ = nullptr;
    TKvoALabel* mail_ = nullptr;
    TKvoALabel* site_ = nullptr;
    QLabel* physical_ = nullptr;
    QLabel* free_ = nullptr;
    QLabel* virtual_ = nullptr;
    QPushButton* ok_ = nullptr;
    QTimer* timer_ = nullptr;
    TAttention* attention_ = nullptr;
};

} // namespace dorvane
