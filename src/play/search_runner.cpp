#include "play/search_runner.h"

namespace dorvane {

TSearchResult RunSearch(const TSearchJob& job) {
    TSearchResult result{job.Generation, job.State};
    FindMove(result.State, job.Draws, job.Type, {nullptr, false, job.Cancel.get()});
    return result;
}

} // namespace dorvane
