// An SVG painted in parts. Qt's generator keeps the whole body of a drawing
// in a string until the painting ends; this paint device stands in front of
// it: every call of the painter goes on to a generator of the same settings,
// and every so many points that generator is ended and its part written out,
// the next one opened on the same graphic state. The bytes written are the
// very bytes one generator would have written for the whole painting.
#pragma once

#include <QPaintDevice>
#include <functional>
#include <memory>

class QIODevice;
class QSvgGenerator;

namespace vintaler::paint {

class SvgStreamEngine;

class SvgStream : public QPaintDevice {
 public:
  // `setup` gives each generator its size, view box, resolution, title and
  // description (never its output device).
  SvgStream(QIODevice& out, std::function<void(QSvgGenerator&)> setup);
  ~SvgStream() override;
  SvgStream(const SvgStream&) = delete;
  SvgStream& operator=(const SvgStream&) = delete;

  QPaintEngine* paintEngine() const override;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  std::unique_ptr<QSvgGenerator> Settings;  // answers the device's measures
  std::unique_ptr<SvgStreamEngine> Engine;
};

}  // namespace vintaler::paint
