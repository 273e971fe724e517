#pragma once
// A 16 x 16 status indicator that steps through its frames on a timer while
// it runs. Start restarts the timer (and the animation) when it already
// runs; Stop halts it on its current frame.

#include <QTimer>
#include <QWidget>

namespace ui {

class AnimatedIndicator : public QWidget {
  Q_OBJECT
public:
  static constexpr int kSize = 16;

  AnimatedIndicator(int frames, int intervalMs, QWidget *parent = nullptr);

  void Start();
  void Stop();
  bool IsRunning() const { return timer_.isActive(); }
  int Frame() const { return frame_; }
  int Frames() const { return frames_; }
  int IntervalMs() const { return timer_.interval(); }

  // Moves to the next frame (what the timer does).
  void Advance();

protected:
  void paintEvent(QPaintEvent *) override;
  virtual void PaintFrame(class QPainter &p, int frame) = 0;

private:
  int frames_;
  int frame_ = 0;
  QTimer timer_;
};

// Four frames, 200 ms each: a spinning ring of dots while the worker talks
// to the gateway.
class BusyIndicator : public AnimatedIndicator {
  Q_OBJECT
public:
  explicit BusyIndicator(QWidget *parent = nullptr);

protected:
  void PaintFrame(class QPainter &p, int frame) override;
};

// Two frames, one second each: a blinking "not connected" sign.
class OfflineIndicator : public AnimatedIndicator {
  Q_OBJECT
public:
  explicit OfflineIndicator(QWidget *parent = nullptr);

protected:
  void PaintFrame(class QPainter &p, int frame) override;
};

} // namespace ui
