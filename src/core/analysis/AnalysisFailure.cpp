#include "core/analysis/AnalysisFailure.h"

#include "core/log/NumberText.h"

namespace tolvane {

AnalysisFailure AnalysisFailure::maxComboTooLarge(double maxCombo)
{
    AnalysisFailure f;
    f.kind = Kind::Format;
    f.cause = Cause::MaxComboTooLarge;
    f.detail = numberText(maxCombo);
    return f;
}

AnalysisFailure AnalysisFailure::fromReadError(const LogReadError& error)
{
    AnalysisFailure f;
    f.kind = error.kind == LogReadError::Kind::Open ? Kind::Open : Kind::Format;
    f.line = error.line;
    f.detail = error.detail;
    switch (error.cause) {
    case LogReadError::Cause::CannotOpen: f.cause = Cause::CannotOpen; break;
    case LogReadError::Cause::ShortDateLine: f.cause = Cause::ShortDateLine; break;
    case LogReadError::Cause::BadDate: f.cause = Cause::BadDate; break;
    case LogReadError::Cause::BadTime: f.cause = Cause::BadTime; break;
    case LogReadError::Cause::ScoreTooLarge: f.cause = Cause::ScoreTooLarge; break;
    case LogReadError::Cause::NumberTooLarge: f.cause = Cause::NumberTooLarge; break;
    case LogReadError::Cause::EndsInsideEntry: f.cause = Cause::EndsInsideEntry; break;
    case LogReadError::Cause::LineTooLong: f.cause = Cause::LineTooLong; break;
    }
    return f;
}

} // namespace tolvane
