// The floor: the same window and countdown as Vorpel, written as a bare Qt 6 Widgets program, so that
// every figure of the real program can be set against what Qt itself costs.

#include "Protocol.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <string>

namespace {

constexpr int kFullMinute = 60;

using protocol::report;

class CountdownWindow : public QMainWindow {
public:
    explicit CountdownWindow(bool measure)
        : m_measure(measure)
    {
        setWindowTitle(QString::fromUtf8(u8"ボルペル"));
        buildMenus();

        auto* content = new QWidget(this);
        auto* layout = new QVBoxLayout(content);
        layout->setContentsMargins(20, 14, 20, 20);
        layout->setSpacing(12);

        m_text = new QLabel(QStringLiteral("01:00"), content);
        QFont font = m_text->font();
        font.setPointSize(256);
        font.setBold(true);
        m_text->setFont(font);
        m_text->setAlignment(Qt::AlignCenter);
        layout->addWidget(m_text, 1);

        m_bar = new QProgressBar(content);
        m_bar->setRange(0, kFullMinute);
        m_bar->setValue(0);
        m_bar->setTextVisible(false);
        m_bar->setFixedHeight(22);
        layout->addWidget(m_bar);
        setCentralWidget(content);

        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1000);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        arm();
    }

protected:
    void mousePressEvent(QMouseEvent*) override { reset(); }
    void keyPressEvent(QKeyEvent*) override { reset(); }

private:
    void buildMenus()
    {
        QMenu* file = menuBar()->addMenu(QString::fromUtf8(u8"ファイル"));
        QAction* quit = file->addAction(QString::fromUtf8(u8"終了"));
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        connect(quit, &QAction::triggered, qApp, &QApplication::quit);

        QMenu* edit = menuBar()->addMenu(QString::fromUtf8(u8"編集"));
        edit->addAction(QString::fromUtf8(u8"取り消す"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        edit->addSeparator();
        edit->addAction(QString::fromUtf8(u8"カット"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
        edit->addAction(QString::fromUtf8(u8"コピー"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
        edit->addAction(QString::fromUtf8(u8"貼り付け"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
        edit->addAction(QString::fromUtf8(u8"削除"));
        edit->addSeparator();
        edit->addAction(QString::fromUtf8(u8"すべてを選択"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    }

    // Starts the one-second grid; the n-th tick is due n seconds after this.
    void arm()
    {
        m_timer.start();
        if (m_measure)
            report("arm " + std::to_string(protocol::monotonicNs()));
    }

    void tick()
    {
        long long now = protocol::monotonicNs();
        if (m_measure)
            report("tick " + std::to_string(++m_ticks) + " " + std::to_string(now));
        if (m_left > 0)
            --m_left;
        m_text->setText(QStringLiteral("00:%1").arg(m_left, 2, 10, QLatin1Char('0')));
        setTextColor(m_left <= 5 ? QColor(128, 0, 0) : m_left <= 14 ? QColor(255, 0, 0) : QColor(0, 0, 0));
        m_bar->setValue(m_left);
    }

    // As in the real program, a press restarts the minute but not the timer's grid.
    void reset()
    {
        m_left = kFullMinute;
        m_text->setText(QStringLiteral("01:00"));
        setTextColor(QColor(0, 0, 0));
        m_bar->setValue(kFullMinute);
    }

    void setTextColor(const QColor& color)
    {
        QPalette palette = m_text->palette();
        if (palette.color(QPalette::WindowText) == color)
            return;
        palette.setColor(QPalette::WindowText, color);
        m_text->setPalette(palette);
    }

    bool m_measure;
    int m_left = kFullMinute;
    long long m_ticks = 0;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QTimer m_timer;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool measure = protocol::measuring();
    protocol::FirstFrameProbe probe;
    if (measure)
        app.installEventFilter(&probe);
    CountdownWindow window(measure);
    window.showFullScreen();
    return app.exec();
}
