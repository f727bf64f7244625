#include "AnswerStep.h"

namespace tonarika {

AnswerStep answerStep(const PressFacts& press)
{
    using Verdict = AnswerStep::Verdict;
    if (press.sameNote) {
        const bool late = !press.settled && press.late;
        return {late ? Verdict::Late : Verdict::Right, !press.settled, late, true};
    }
    if (press.notAnswer)
        return {press.dimmed ? Verdict::NotAsked : Verdict::Nothing, false, false, false};
    // Only the first answer is shown the right note; one already settled cannot be pending
    // with the answer shown, since showing it ends the question.
    if (press.showAnswer && !press.settled)
        return {Verdict::MissShown, true, true, true};
    return {Verdict::Miss, !press.settled, !press.settled, false};
}

}  // namespace tonarika
