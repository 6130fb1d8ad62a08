#include "help/help_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "help/help_pages.h"
#include "ui/window_placement.h"

namespace morvane::gui {

namespace {

constexpr QSize kHelpWindowSize{640, 560};

QPushButton* MakeLinkButton(const QString& name, const QString& text, const QString& hint,
                            QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpWindow");
  setWindowTitle("Morvane Help");

  auto* contents = MakeLinkButton("HelpContents", "&Contents", "The list of all help pages", this);
  back_ = MakeLinkButton("HelpBack", "&Back", "The page shown before", this);
  forward_ = MakeLinkButton("HelpForward", "&Forward", "The page shown after", this);
  back_->setEnabled(false);
  forward_->setEnabled(false);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);
  browser_->setSearchPaths({QString::fromLatin1(kHelpFolder)});

  connect(contents, &QPushButton::clicked, this,
          [this] { browser_->setSource(QUrl(HelpPageUrl(kHelpIndexPage))); });
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::ShowTitle);
  connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, browser_,
          &QTextBrowser::backward);
  connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, browser_,
          &QTextBrowser::forward);
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::hide);

  auto* links = new QHBoxLayout;
  links->addWidget(contents);
  links->addWidget(back_);
  links->addWidget(forward_);
  links->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(links);
  layout->addWidget(browser_, 1);
  resize(kHelpWindowSize);

  browser_->setSource(QUrl(HelpPageUrl(kHelpIndexPage)));
}

void HelpWindow::ShowPage(const QString& page) {
  const QUrl url(HelpPageUrl(page));
  if (browser_->source() != url) browser_->setSource(url);
  if (!placed_ && !isVisible()) {
    if (parentWidget()) PlaceBeside(this, parentWidget()->window());
    placed_ = true;
  }
  ShowInFront(this);
}

QString HelpWindow::CurrentPage() const {
  return QFileInfo(browser_->source().path()).fileName();
}

void HelpWindow::ShowTitle() {
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? QString("Morvane Help") : "Morvane Help – " + title);
}

}  // namespace morvane::gui
