// The stand-in host's pointer: the user's clicks for the add-on's input requests ('IPOI',
// 'ILIN', 'IARC', 'IPOL'), taken in order from answers a script queues, and the rubber lines
// ('DRLI') the add-on draws as feedback (platform/input_records.h).
//
// Before each click the cursor travels to it from where the pointer is in kTravelSteps
// steps, calling the request's cursor callback for each step in the host's pairs: an erase
// call (draw false) for the feedback drawn before, then a draw call (draw true); after the
// click one erase call takes the last feedback away. Erase calls are handed the new position,
// as a moving mouse gives it; the lines an erase call draws must be the lines the draw call
// before it drew (they are drawn exclusive-or), and every erase call that draws other lines
// is recorded as a mismatch.
//
// The answers: a point answers a point request or the end of a line request; an arc the
// cursor of an arc request (the host answers the end on the circle through the start); a
// polygon the vertices of a polygon request, each added with a click or taken back; an escape
// cancels any request. A request the next answer does not fit, or for which no answer is
// left, or whose answer a real pointer could not give (a coordinate that is not finite, a
// third coordinate outside the plan and the 3D model, a polygon that would close with fewer
// than kPolygonMinVertices vertices or takes back more than it added) is cancelled, and the
// failure is kept; from then on every request is cancelled until the failure is cleared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/host_types.h"
#include "platform/input_records.h"

namespace standin {

// One answer of the scripted user to an input request.
struct PointerAnswer {
  enum class Kind {
    Point,    // at: a point request, or the end of a line request
    Arc,      // at, clockwise: where the cursor is when the arc's end is clicked
    Polygon,  // steps: the vertices of a polygon request
    Escape,   // cancels the next request
  };
  // One step of a polygon answer: a vertex added with a click, or the last one taken back.
  struct Step {
    bool back = false;
    platform::Coord3D vertex{};
  };
  Kind kind = Kind::Point;
  platform::Coord3D at{};
  bool hasZ = false;       // at carries a third coordinate given by the user
  bool clockwise = false;  // Arc: drawn clockwise
  std::vector<Step> steps; // Polygon
  int line = 0;            // the script line, for messages
  std::string text;        // the script's words, for echoes

  // A click at (x, y), or (x, y, z) when a third coordinate is given.
  static PointerAnswer point(double x, double y);
  static PointerAnswer point(double x, double y, double z);
  // The cursor of an arc request at (x, y).
  static PointerAnswer arc(double x, double y, bool clockwise = false);
  // A polygon of the steps.
  static PointerAnswer polygon(std::vector<Step> steps);
  static PointerAnswer escape();
};

// The kinds of input request.
enum class InputKind { Point, Line, Arc, Polygon };

// "a point", "the end of a line", "an arc", "a polygon".
const char* inputKindName(InputKind kind);
// The verb of a script that answers a request of the kind ("point", "arc", "polygon").
const char* inputAnswerVerb(InputKind kind);
// The verb of an answer of the kind ("point", "arc", "polygon", "escape").
const char* pointerAnswerVerb(PointerAnswer::Kind kind);

// One rubber line the add-on drew.
struct RubberLine {
  platform::Coord3D from{};
  platform::Coord3D to{};
  static constexpr std::size_t kNone = std::size_t(-1);
  std::size_t request = kNone;  // the request it was drawn in (index into requests()), or kNone
  std::size_t call = kNone;     // the cursor call it was drawn in (index into its calls), or kNone
};

// One call of a request's cursor callback.
struct CursorCall {
  platform::Coord3D cursor{};    // the position handed in
  platform::Coord3D returned{};  // the position the callback left in the record
  bool draw = false;
  std::vector<RubberLine> lines; // drawn during the call
};

// One input request and how it went.
struct InputRecord {
  enum class Outcome { Clicked, Escaped, Failed };
  InputKind kind = InputKind::Point;
  std::string prompt;
  platform::Coord3D start{};   // line and arc: the start; polygon: the first vertex
  platform::Coord3D centre{};  // arc
  Outcome outcome = Outcome::Failed;
  int answerLine = 0;          // the line of the script's answer (0: none)
  std::string answerText;      // the script's words of the answer
  platform::Coord3D click{};   // point and line: the click; arc: the end on the circle
  bool clockwise = false;      // arc
  std::vector<platform::Coord3D> vertices;  // polygon: the closed polygon, the first vertex first
  std::vector<CursorCall> calls;
};

// An erase call that did not draw the lines of the draw call before it.
struct EraseMismatch {
  std::size_t request = 0;  // index into requests()
  std::size_t call = 0;     // index of the erase call in its request's calls
  std::vector<RubberLine> drawn;
  std::vector<RubberLine> erased;
};

// Why the script could not answer a request.
struct PointerFailure {
  enum class Kind {
    None,
    NoAnswer,     // no answer was left
    WrongAnswer,  // the next answer does not fit the request
    BadAnswer,    // the answer is not one a real pointer could give (message)
  };
  Kind kind = Kind::None;
  InputKind request = InputKind::Point;
  std::string prompt;
  int line = 0;                                   // the answer's line
  PointerAnswer::Kind answer = PointerAnswer::Kind::Point;  // WrongAnswer: what was given
  std::string message;                            // BadAnswer: what is wrong
};

// The host's pointer.
class Pointer {
 public:
  static constexpr int kTravelSteps = 4;

  Pointer() = default;
  Pointer(const Pointer&) = delete;
  Pointer& operator=(const Pointer&) = delete;

  // ---- the script ----
  // Queues an answer; requests take them in queue order.
  void queue(PointerAnswer answer) { answers_.push_back(std::move(answer)); }
  const std::deque<PointerAnswer>& pendingAnswers() const { return answers_; }
  void dropAnswers() { answers_.clear(); }
  // The failure that cancelled a request; kind None when there was none.
  const PointerFailure& failure() const { return failure_; }
  void clearFailure() { failure_ = PointerFailure(); }

  // ---- the view ----
  // Tells the pointer about the current view: empty when it takes three coordinates (the
  // plan, the 3D model), else how to name it in a message ("section \"S1\"").
  void setFlatView(std::function<std::string()> flatView) { flatView_ = std::move(flatView); }

  // ---- records ----
  const std::vector<InputRecord>& requests() const { return requests_; }
  // Every rubber line drawn, in order.
  const std::vector<RubberLine>& rubberLines() const { return lines_; }
  const std::vector<EraseMismatch>& mismatches() const { return mismatches_; }
  // Called when a request has been answered (trestlar run --verbose); may be empty.
  void setEcho(std::function<void(const InputRecord&)> echo) { echo_ = std::move(echo); }
  void clearRecords();
  // Where the cursor is.
  const platform::Coord3D& position() const { return position_; }
  // True while a request waits.
  bool waiting() const { return waiting_; }

  // ---- the operations of the table ----
  // The HostInterface codes of input requests and rubber lines; false when code is not one.
  bool interfaceOperation(uint32_t code, void* p1, void* p2, void* p3, platform::GSErr& result);

 private:
  platform::GSErr point(platform::PointRequest* request);
  platform::GSErr line(platform::LineRequest* request);
  platform::GSErr arc(platform::ArcRequest* request);
  platform::GSErr polygon(platform::PolygonRequest* request);
  platform::GSErr drawLine(const platform::Coord3D* from, const platform::Coord3D* to);
  // Starts the record of a request; false when one waits already.
  bool open(InputKind kind, const char* prompt);
  // The next answer for the open request, or null when the request is to be cancelled (the
  // record says why).
  const PointerAnswer* take();
  // Checks an answer for what a real pointer could not give; false with the failure kept.
  bool check(const PointerAnswer& answer);
  void fail(PointerFailure::Kind kind, int line, const std::string& message);
  // Moves the cursor to a point, with the callback's erase and draw calls.
  void travel(const platform::Coord3D& to, platform::InputCursorFn cursor);
  // Erases the feedback of the last draw call, if any.
  void erase(platform::InputCursorFn cursor);
  void call(platform::InputCursorFn cursor, const platform::Coord3D& at, bool draw);
  // Ends the open request with its result.
  platform::GSErr close(platform::GSErr result);

  std::deque<PointerAnswer> answers_;
  PointerAnswer answer_;  // the answer being carried out
  PointerFailure failure_;
  std::function<std::string()> flatView_;
  std::function<void(const InputRecord&)> echo_;
  std::vector<InputRecord> requests_;
  std::vector<RubberLine> lines_;
  std::vector<EraseMismatch> mismatches_;
  platform::Coord3D position_{};
  bool waiting_ = false;
  bool drawn_ = false;                 // feedback is shown
  std::size_t inCall_ = RubberLine::kNone;  // the cursor call running, if any
  std::size_t lastDraw_ = RubberLine::kNone;  // the last draw call of the open request
};

}  // namespace standin
