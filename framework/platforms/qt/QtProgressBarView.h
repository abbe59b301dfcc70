#pragma once

#include "library/Platform.h"

#include <QWidget>

#include <cstdint>

class ProgressBar;

// Shows a ProgressBar: a framed track filled to value / maximum of its width, without a percentage.
// A new value repaints only the span between the old and the new end of the fill.
class QtProgressBarView final : public QWidget {
public:
    explicit QtProgressBarView(QWidget* parent);

    void sync(const ProgressBar&, ControlAspect);
    void syncAll(const ProgressBar&);

    void setRange(std::int32_t value, std::int32_t maximum);

    // The track inside the frame, and how many of its pixels are filled.
    QRect trackRect() const;
    int filledWidth() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::int32_t m_value = 0;
    std::int32_t m_maximum = 100;
};
