#include "app/print_preview.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/main_frame.h"
#include "app/printing.h"

namespace tessel::app {
namespace {

// The preview draws at screen resolution.
constexpr double preview_dpi = 96.0;

class preview_dialog : public QDialog {
 public:
  explicit preview_dialog(CMainFrame& frame) : QDialog(&frame), frame_(frame), options_(saved_print_options()) {
    setWindowTitle(QStringLiteral("Print Preview"));
    page_ = preview_page_size();

    auto* top = new QHBoxLayout;
    prev_ = new QPushButton(QStringLiteral("Previous"), this);
    next_ = new QPushButton(QStringLiteral("Next"), this);
    page_label_ = new QLabel(this);
    auto* repeat = new QCheckBox(QStringLiteral("Repeat table on every page"), this);
    auto* fit = new QCheckBox(QStringLiteral("Fit timeline to page width"), this);
    repeat->setChecked(options_.repeat_table);
    fit->setChecked(options_.fit_timeline);
    auto* setup = new QPushButton(QStringLiteral("Page Setup..."), this);
    auto* print = new QPushButton(QStringLiteral("Print..."), this);
    for (QWidget* w : std::initializer_list<QWidget*>{prev_, next_, page_label_, repeat, fit}) top->addWidget(w);
    top->addStretch();
    top->addWidget(setup);
    top->addWidget(print);

    image_ = new QLabel(this);
    image_->setAlignment(Qt::AlignCenter);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(image_);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    auto* box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(scroll, 1);
    // At the page's size, but within the screen it opens on: a laptop's 768
    // lines are fewer than a landscape page's. Drawn without a display, the
    // window stands for the screen.
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
    const QSize room = headless || !frame.screen() ? frame.size() : frame.screen()->availableGeometry().size();
    resize(QSize(page_.width() + 60, page_.height() + 100).boundedTo(room * 0.9));

    connect(prev_, &QPushButton::clicked, this, [this] { go(page_index_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { go(page_index_ + 1); });
    new QShortcut(QKeySequence(Qt::Key_PageUp), this, [this] { go(page_index_ - 1); });
    new QShortcut(QKeySequence(Qt::Key_PageDown), this, [this] { go(page_index_ + 1); });
    connect(repeat, &QCheckBox::toggled, this, [this](bool on) {
      options_.repeat_table = on;
      replan();
    });
    connect(fit, &QCheckBox::toggled, this, [this](bool on) {
      options_.fit_timeline = on;
      replan();
    });
    connect(setup, &QPushButton::clicked, this, [this] {
      QPrinter printer;
      printer.setPageLayout(page_layout());
      QPageSetupDialog dialog(&printer, this);
      if (dialog.exec() != QDialog::Accepted) return;
      set_page_layout(printer.pageLayout());
    });
    connect(print, &QPushButton::clicked, this, [this] {
      save_print_options(options_);
      accept();
      print_with_dialog(frame_);
    });
    replan();
  }

  int pages() const { return plan_.pages; }

  // A new paper or orientation: kept for every printout, and the pages
  // planned again.
  void set_page_layout(const QPageLayout& layout) {
    save_page_layout(layout);
    page_ = preview_page_size();
    replan();
  }

 private:
  void replan() {
    plan_ = plan_pages(frame_, page_.width(), page_.height(), options_, preview_dpi);
    go(std::min(page_index_, plan_.pages - 1));
  }

  // Draws the one page shown; nothing else is drawn.
  void go(int k) {
    if (k < 0 || k >= plan_.pages) return;
    page_index_ = k;
    image_->setPixmap(QPixmap::fromImage(render_preview_page(frame_, plan_, k)));
    page_label_->setText(QStringLiteral("Page %1 of %2").arg(k + 1).arg(plan_.pages));
    prev_->setEnabled(k > 0);
    next_->setEnabled(k + 1 < plan_.pages);
  }

  CMainFrame& frame_;
  print_options options_;
  print_plan plan_;
  QSize page_;
  int page_index_ = 0;
  QPushButton* prev_;
  QPushButton* next_;
  QLabel* page_label_;
  QLabel* image_;
};

}  // namespace

QSize preview_page_size() { return page_layout().paintRectPixels(int(preview_dpi)).size(); }

QImage render_preview_page(CMainFrame& frame, const print_plan& plan, int k) {
  QImage img(preview_page_size(), QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter painter(&img);
  painter.setRenderHint(QPainter::Antialiasing);
  draw_page(frame, painter, plan, k);
  return img;
}

void show_print_preview(CMainFrame& frame) {
  preview_dialog dialog(frame);
  dialog.exec();
}

bool render_print_preview(CMainFrame& frame, const QString& out_png) {
  preview_dialog dialog(frame);
  dialog.setAttribute(Qt::WA_DontShowOnScreen);
  dialog.show();
  QCoreApplication::processEvents();
  return dialog.grab().save(out_png);
}

}  // namespace tessel::app
