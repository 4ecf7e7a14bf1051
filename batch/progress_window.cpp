#include "batch/progress_window.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "ui/fonts.h"

namespace batch {
namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QRect screenRect() { return QGuiApplication::primaryScreen()->geometry(); }

}  // namespace

CadMessage::CadMessage() {
    setObjectName(QStringLiteral("cadmessage"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(label(this, "Label3", QStringLiteral("当前：")), 0, 0);
    current_ = label(this, "Label4", QStringLiteral("0"));
    grid->addWidget(current_, 0, 1);
    grid->addWidget(label(this, "Label5", QStringLiteral("总数：")), 0, 2);
    total_ = label(this, "Label6", QStringLiteral("0"));
    grid->addWidget(total_, 0, 3);
    auto* stop = new QPushButton(QStringLiteral("终止"), this);
    stop->setObjectName(QStringLiteral("Command1"));
    connect(stop, &QPushButton::clicked, this, &CadMessage::stopPressed);
    grid->addWidget(stop, 0, 5);
    grid->addWidget(label(this, "Label1(0)", QStringLiteral("正在处理文件")), 1, 0);
    file_ = label(this, "Label2", QString());
    grid->addWidget(file_, 1, 1, 1, 5);
    grid->addWidget(label(this, "Label1(1)", QStringLiteral("当前操作指令")), 2, 0);
    status_ = label(this, "Label7", QString());
    status_->hide();
    grid->addWidget(status_, 2, 1, 1, 5);
    grid->addWidget(label(this, "Label1(2)", QStringLiteral("同时处理")), 3, 0);
    inHand_ = label(this, "Label8", QString());
    grid->addWidget(inHand_, 3, 1, 1, 5);
    grid->setColumnStretch(4, 1);
    // The loading form is a bare title bar: the layout must not hold the window open.
    grid->setSizeConstraint(QLayout::SetNoConstraint);
}

void CadMessage::showLoading() {
    setWindowTitle(QStringLiteral("程序加载中 请稍候。。。。。"));
    const QRect screen = screenRect();
    setFixedSize(ui::twips(5000), 0);
    move(screen.left() + int(0.3 * screen.width()), screen.top() + int(0.5 * screen.height()));
    show();
}

void CadMessage::showProcessing() {
    setWindowTitle(QStringLiteral("程序正在处理中。。。。。"));
    const QRect screen = screenRect();
    setFixedSize(int(0.8 * screen.width()), ui::twips(1725));
    move(screen.left() + int(0.1 * screen.width()), screen.top() + int(0.1 * screen.height()));
    status_->setFont(total_->font());
    status_->show();
    show();
}

void CadMessage::showDrawing(int number, int count, const QString& path) {
    current_->setNum(number);
    total_->setNum(count);
    file_->setText(path);
}

void CadMessage::showStatus(const QString& text) { status_->setText(text); }

void CadMessage::showInHand(const QList<int>& numbers, const QStringList& paths) {
    QStringList each;
    for (qsizetype i = 0; i < numbers.size() && i < paths.size(); ++i)
        if (numbers[i] > 0)
            each.append(QStringLiteral("进程%1：第%2个 %3")
                            .arg(i + 1)
                            .arg(numbers[i])
                            .arg(QFileInfo(paths[i]).fileName()));
    inHand_->setText(QStringLiteral("%1 个图纸处理中　").arg(each.size()) +
                     each.join(QStringLiteral("　")));
}

}  // namespace batch
