// The candidate window of the input method: the list handed to it (the
// host's text input gives one when its input method reports it), one page
// at a time, the selection on
// white, the entries optionally numbered "1:" to "9:" and "0:".
#pragma once

#include <string>
#include <vector>

#include "ui/controls/cGZWinText.h"

class cGZWinIMECandidate : public cGZWinText {
public:
    // The style of a reading list, the only one drawn.
    static constexpr int32_t kStyleRead = 1;
    static constexpr int32_t kLineGap = 2;
    static constexpr int32_t kNumberWidth = 16;

    struct CandidateList {
        int32_t style = kStyleRead;
        std::vector<std::string> entries;  // in the language's code page
        int32_t selection = 0;
        int32_t pageStart = 0;
        int32_t pageSize = 0;  // 0 pages by the count
    };

    // The one candidate window, or null when one exists already.
    static cGZWinIMECandidate* Create();
    ~cGZWinIMECandidate() override;

    void SetCandidateList(const CandidateList& list);
    void ClearCandidateList();
    bool HasCandidateList() const { return mbHasList; }
    void SetNumbered(bool on);

    // Where the page drawn last began.
    int32_t GetPageStart() const { return mList.pageStart; }
    bool Draw(bool force) override;

private:
    cGZWinIMECandidate() = default;
    int32_t PageSize() const;

    CandidateList mList;
    bool mbHasList = false;
    bool mbNumbered = true;
};

cGZWinIMECandidate* GZGetIMECandidate();
