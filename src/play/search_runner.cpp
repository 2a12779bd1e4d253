#include "play/search_runner.h"

namespace dorvane {

TSearchResult RunSearch(const TSearchJob& job) {
    TSearchResult result{job.Generation, job.State};
    FindMove(result.State, job.Draws, job.Type);
    return result;
}

} // namespace dorvane
