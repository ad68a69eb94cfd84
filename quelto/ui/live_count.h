// The count line under the main dialog's tabs ("将选择 N 个实体"): how many entities the criteria would
// select now, with the command's own engine over the command's scope, computed in short slices while the
// dialog is idle so that typing never waits for it. Neither the drawing nor the pick-first set changes.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"
#include "quelto/filter/filter.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class CEntityExtendFilter;

// The candidates of one host selection; a count whose host criteria did not change reuses them.
struct CCandidateSet {
    CCandidateSet() = default;
    ~CCandidateSet();
    CCandidateSet(const CCandidateSet&) = delete;
    CCandidateSet& operator=(const CCandidateSet&) = delete;

    ads_name set = {0, 0};
    std::int32_t length = 0;
    // The record filters in the user's selection and nothing is selected yet.
    bool needsUserSelection = false;
};

// What the host's selection depends on: the scope and the basic criteria as the host filter has them.
CString HostSelectionKey(const CFilter& record, const CString& dxfName);

// One count, advanced a slice at a time. The candidates are the host's selection with the record's host
// filter over the whole drawing, or over the pick-first set that the command's own selection would take.
class CSlicedCount {
public:
    enum class State {
        Counting,
        Done,
        // The record filters in the user's selection and nothing is selected yet: known only after the pick.
        NeedsUserSelection
    };

    // `candidates`: the host selection of an earlier count with the same HostSelectionKey, or null.
    CSlicedCount(const CFilter& record, const CString& dxfName,
                 std::shared_ptr<const CCandidateSet> candidates = nullptr);
    ~CSlicedCount();
    CSlicedCount(const CSlicedCount&) = delete;
    CSlicedCount& operator=(const CSlicedCount&) = delete;

    // Tests candidates until the budget is spent; answers the state afterwards.
    State Step(std::chrono::microseconds budget);
    State GetState() const { return m_state; }
    // Matching entities so far (all of them once Done).
    long Count() const { return m_count; }
    // The host selection, once the first step has made it.
    std::shared_ptr<const CCandidateSet> Candidates() const { return m_candidates; }

private:
    void SelectCandidates();

    CFilter m_record;
    CString m_dxfName;
    CString m_typeName;
    std::unique_ptr<CEntityExtendFilter> m_engine;
    State m_state = State::Counting;
    std::shared_ptr<const CCandidateSet> m_candidates;
    std::int32_t m_next = 0;
    long m_count = 0;
};

// The dialog's side: every change of a criterion abandons the count under way; after a short pause (so
// that a burst of keystrokes costs one count) the criteria are read and counted in slices from a zero
// timer, which Qt runs only when no input waits.
class CLiveCount : public QObject {
    Q_OBJECT
public:
    struct Criteria {
        CFilter record;
        CString dxfName;
    };
    // Reads the criteria as they stand; nothing when they cannot be read (a value the pages refuse).
    using ReadCriteria = std::function<std::optional<Criteria>()>;

    explicit CLiveCount(ReadCriteria readCriteria, QObject* parent = nullptr);
    ~CLiveCount() override;

    // A criterion changed: the count under way is abandoned and a new one starts after the pause.
    void Changed();
    // Runs the count under way to its end at once; nothing when it needs the user's selection.
    std::optional<long> Finish();
    // The line to show now.
    QString Text() const;

    static constexpr std::chrono::milliseconds Pause{120};
    static constexpr std::chrono::microseconds Slice{15000};

signals:
    void TextChanged(const QString& text);

private:
    void Start();
    void RunSlice();

    ReadCriteria m_readCriteria;
    std::unique_ptr<CSlicedCount> m_count;
    bool m_unreadable = false;
    CString m_candidatesKey;
    std::shared_ptr<const CCandidateSet> m_candidates;
    QTimer m_pause;
    QTimer m_slices;
};
