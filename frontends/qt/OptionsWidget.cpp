#include "OptionsWidget.h"

#include "ControlBinding.h"
#include "configuration/FrmOptions.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace twk::qt {
namespace {

class PageBuilder {
public:
    PageBuilder(WindowWidget& owner, QGroupBox& page) : owner_(owner), layout_(new QVBoxLayout(&page)) {}

    void check(ui::CheckBox& control)
    {
        auto* widget = new QCheckBox;
        layout_->addWidget(widget);
        bind(owner_, *widget, control);
    }
    void option(ui::OptionButton& control, QVBoxLayout* into = nullptr)
    {
        auto* widget = new QRadioButton;
        (into ? into : layout_)->addWidget(widget);
        bind(owner_, *widget, control);
    }
    QPushButton* picture(ui::Button& control, QStyle::StandardPixmap icon, const QString& label)
    {
        auto* row = new QHBoxLayout;
        auto* widget = new QPushButton;
        widget->setIcon(owner_.style()->standardIcon(icon));
        row->addWidget(widget);
        if (!label.isEmpty())
            row->addWidget(new QLabel(label));
        row->addStretch(1);
        layout_->addLayout(row);
        bind(owner_, *widget, control);
        return widget;
    }
    QVBoxLayout* layout() { return layout_; }

private:
    WindowWidget& owner_;
    QVBoxLayout* layout_;
};

} // namespace

OptionsWidget::OptionsWidget(configuration::FrmOptions& o, double twipsPerPixel, std::function<void()> onHelp)
    : WindowWidget(o, twipsPerPixel, std::move(onHelp)), options_(o)
{
    auto* top = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    top->addLayout(body, 1);

    // Each layout joins its parent before its widgets are bound: a bound
    // widget is shown, and one without a parent yet would be shown as a
    // window of its own, then hidden and shown again later, changing the size.
    auto* left = new QVBoxLayout;
    body->addLayout(left);
    auto* list = new QListWidget;
    list->setFixedWidth(160);
    left->addWidget(list, 1);
    bind(*this, *list, o.List1);
    auto* label2 = new QLabel;
    QFont big = label2->font();
    big.setPointSize(18);
    big.setBold(true);
    label2->setFont(big);
    label2->setStyleSheet(QStringLiteral("color: blue"));
    label2->setAlignment(Qt::AlignCenter);
    left->addWidget(label2);
    bindLook(*label2, o.Label2);

    // The pages share one place, and each keeps its room while hidden: the
    // window has one size, whichever page shows.
    auto* pages = new QGridLayout;
    body->addLayout(pages, 1);
    const auto addPage = [pages](QGroupBox* page) {
        QSizePolicy policy = page->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        page->setSizePolicy(policy);
        pages->addWidget(page, 0, 0);
    };

    auto* general = new QGroupBox;
    addPage(general);
    bindLook(*general, o.Frame1);
    PageBuilder g(*this, *general);
    for (auto* box : {&o.Check1, &o.Check2, &o.Check3, &o.Check7, &o.chkXYPOS, &o.Check12, &o.Check13,
                      &o.Check14})
        g.check(*box);
    auto* label1 = new QLabel;
    g.layout()->addWidget(label1);
    bindLook(*label1, o.Label1);
    auto* frequencies = new QHBoxLayout;
    g.layout()->addLayout(frequencies);
    for (auto* option : {&o.Option1, &o.Option2, &o.Option3, &o.Option4, &o.Option5}) {
        auto* widget = new QRadioButton;
        frequencies->addWidget(widget);
        bind(*this, *widget, *option);
    }
    g.picture(o.cmdPickViewer, QStyle::SP_ComputerIcon, QString());
    g.layout()->addStretch(1);

    auto* logging = new QGroupBox;
    addPage(logging);
    bindLook(*logging, o.Frame3);
    PageBuilder c(*this, *logging);
    for (auto* box : {&o.Check5, &o.Check9, &o.Check10, &o.Check11})
        c.check(*box);
    c.picture(o.cmdAMLFPATH, QStyle::SP_FileIcon, tr("Append file"));
    for (auto* option : {&o.Option6, &o.Option7, &o.Option8})
        c.option(*option);
    mainFolderButton_ = c.picture(o.Command1, QStyle::SP_DirOpenIcon, tr("Log folder"));
    c.layout()->addStretch(1);

    auto* links = new QGroupBox;
    addPage(links);
    bindLook(*links, o.Frame2);
    PageBuilder l(*this, *links);
    for (auto* box : {&o.Check4, &o.Check8, &o.Check6})
        l.check(*box);
    for (auto* option : {&o.Option9, &o.Option10})
        l.option(*option);
    linkFolderButton_ = l.picture(o.Command8, QStyle::SP_DirOpenIcon, tr("Link log folder"));
    l.layout()->addStretch(1);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    buttons->addStretch(1);
    for (auto* control : {&o.Command5, &o.Command4, &o.Command3, &o.Command2}) {
        auto* widget = new QPushButton;
        widget->setAutoDefault(false); // Enter saves nothing
        buttons->addWidget(widget);
        bind(*this, *widget, *control);
    }
    top->setSizeConstraint(QLayout::SetFixedSize);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { whenAttached([this] { options_.Command3.click(); }); });
    // The path hints name the saved folder the moment the pointer is over a folder button.
    for (auto* button : {mainFolderButton_, linkFolderButton_}) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    windowChanged();
}

bool OptionsWidget::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::ToolTip) {
        if (watched == mainFolderButton_)
            whenAttached([this] { options_.Command1_MouseMove(); });
        else if (watched == linkFolderButton_)
            whenAttached([this] { options_.Command8_MouseMove(); });
    }
    return WindowWidget::eventFilter(watched, event);
}

} // namespace twk::qt
