#include "logbrowser/RetiredSearches.h"

#include <algorithm>

namespace twk::logbrowser {

RetiredSearches::~RetiredSearches()
{
    endings_.clear(); // joins
}

void RetiredSearches::retire(std::unique_ptr<SearchThread> search)
{
    // Those that have ended are joined without a wait.
    std::erase_if(endings_, [](const Ending& ending) { return ending.ended->load(); });
    if (!search)
        return;
    search->stop();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    endings_.push_back(Ending{ended, std::jthread([search = std::move(search), ended]() mutable {
                                  search.reset();
                                  ended->store(true);
                              })});
}

std::size_t RetiredSearches::ending() const
{
    return static_cast<std::size_t>(
        std::count_if(endings_.begin(), endings_.end(), [](const Ending& ending) { return !ending.ended->load(); }));
}

} // namespace twk::logbrowser
