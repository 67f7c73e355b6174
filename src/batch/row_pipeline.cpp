#include "batch/row_pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vst {

namespace {

// Rows per chunk: enough that handing a chunk between threads costs little
// beside designing it, few enough that the chunks in flight stay small.
constexpr std::size_t kChunkRows = 128;

struct Chunk {
  int firstRow = 1;  // the 1-based row number of rows[0]
  std::vector<CsvRow> rows;
  std::vector<CircuitResult> results;
  std::string text;
  bool done = false;
};

// Designs the rows of a chunk and formats their results.
void DesignChunk(const LineListDesigner& designer, const RowPipeline& pipeline, Chunk& chunk) {
  chunk.results.resize(chunk.rows.size());
  for (std::size_t i = 0; i < chunk.rows.size(); ++i) {
    designer.design(chunk.rows[i], chunk.firstRow + static_cast<int>(i), chunk.results[i]);
    pipeline.format(chunk.results[i], chunk.text);
  }
}

// Reads up to kChunkRows rows into a chunk, reused: its rows, results and
// text keep their storage from chunk to chunk, so designing a row mostly
// writes into strings that already have room. False when the list had none
// left.
bool ReadChunk(const RowPipeline& pipeline, int& rowsRead, Chunk& chunk) {
  chunk.firstRow = rowsRead + 1;
  chunk.text.clear();
  chunk.done = false;
  std::size_t count = 0;
  while (count < kChunkRows) {
    if (count == chunk.rows.size()) chunk.rows.emplace_back();
    if (!pipeline.next(chunk.rows[count])) break;
    ++count;
  }
  chunk.rows.resize(count);
  rowsRead += static_cast<int>(count);
  return count > 0;
}

bool HandOn(const RowPipeline& pipeline, const Chunk& chunk) {
  for (const CircuitResult& result : chunk.results) {
    if (!pipeline.take(result)) return false;
  }
  pipeline.write(chunk.text);
  return true;
}

// The chunks in flight, read in order by this thread, designed by any
// worker, handed on in order by this thread.
class Workers {
 public:
  Workers(const LineListDesigner& designer, const RowPipeline& pipeline, int threads)
      : designer_(designer), pipeline_(pipeline) {
    for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
  }
  ~Workers() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    waiting_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  // A chunk to read into: one handed on before, or a new one.
  std::unique_ptr<Chunk> spare() {
    if (spares_.empty()) return std::make_unique<Chunk>();
    std::unique_ptr<Chunk> chunk = std::move(spares_.back());
    spares_.pop_back();
    return chunk;
  }
  void giveBack(std::unique_ptr<Chunk> chunk) { spares_.push_back(std::move(chunk)); }
  void add(std::unique_ptr<Chunk> chunk) {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(chunk.get());
    chunks_.push_back(std::move(chunk));
    waiting_.notify_one();
  }
  std::size_t inFlight() const { return chunks_.size(); }
  // While the oldest chunk is not designed yet, designs read chunks no
  // worker has taken, on the calling thread: it has nothing else to do
  // meanwhile, and a thread more than there are processors would only take
  // turns with the workers.
  void helpUntilOldestDone() {
    for (;;) {
      Chunk* chunk = nullptr;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (chunks_.front()->done || queue_.empty()) return;
        chunk = queue_.front();
        queue_.pop_front();
      }
      DesignChunk(designer_, pipeline_, *chunk);
      std::lock_guard<std::mutex> lock(mutex_);
      chunk->done = true;
    }
  }
  // Waits for the oldest chunk and takes it out.
  std::unique_ptr<Chunk> takeOldest() {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [this] { return chunks_.front()->done; });
    std::unique_ptr<Chunk> oldest = std::move(chunks_.front());
    chunks_.pop_front();
    return oldest;
  }

 private:
  void work() {
    for (;;) {
      Chunk* chunk = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        waiting_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, nothing left
        chunk = queue_.front();
        queue_.pop_front();
      }
      DesignChunk(designer_, pipeline_, *chunk);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        chunk->done = true;
      }
      finished_.notify_all();
    }
  }

  const LineListDesigner& designer_;
  const RowPipeline& pipeline_;
  std::mutex mutex_;
  std::condition_variable waiting_;             // workers wait for chunks
  std::condition_variable finished_;            // this thread waits for the oldest chunk
  std::deque<Chunk*> queue_;                    // read, not yet designed
  std::deque<std::unique_ptr<Chunk>> chunks_;   // in flight, oldest first
  std::vector<std::unique_ptr<Chunk>> spares_;  // handed on, to be read into again
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

int ProcessorCount() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

bool DesignRowsInOrder(const LineListDesigner& designer, int jobs, const RowPipeline& pipeline) {
  int rowsRead = 0;
  if (jobs <= 1) {
    Chunk chunk;
    for (;;) {
      if (!ReadChunk(pipeline, rowsRead, chunk)) return true;
      DesignChunk(designer, pipeline, chunk);
      if (!HandOn(pipeline, chunk)) return false;
    }
  }
  // Two chunks per thread in flight keep every thread busy while this one
  // reads and writes. This thread designs too, between reading and writing,
  // so jobs - 1 workers make `jobs` designing threads.
  const std::size_t maxInFlight = 2 * static_cast<std::size_t>(jobs);
  Workers workers(designer, pipeline, jobs - 1);
  bool more = true;
  for (;;) {
    while (more && workers.inFlight() < maxInFlight) {
      std::unique_ptr<Chunk> chunk = workers.spare();
      more = ReadChunk(pipeline, rowsRead, *chunk);
      if (more) workers.add(std::move(chunk));
    }
    if (workers.inFlight() == 0) return true;
    workers.helpUntilOldestDone();
    std::unique_ptr<Chunk> oldest = workers.takeOldest();
    if (!HandOn(pipeline, *oldest)) return false;
    workers.giveBack(std::move(oldest));
  }
}

}  // namespace vst
