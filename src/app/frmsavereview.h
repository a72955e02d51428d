#pragma once

#include "editor/savereview.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

namespace calvenor {

class PersonInterface;
class ProgramContext;

// What the next save changes in the files on disk: a tree of the files (as the save
// writes them, redirection followed), their sections with how many entries change, and
// each change in the words of the list. Save (accept) leaves the saving to the window,
// so its usual questions and safeguards apply; Close changes nothing.
class frmSaveReview : public QDialog
{
    Q_OBJECT
public:
    frmSaveReview(const std::vector<SectionReview> &review, ProgramContext &context, PersonInterface &person,
                  QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }

private:
    void fill(const std::vector<SectionReview> &review, bool rightToLeft);

    ProgramContext &m_context;
    QTreeWidget *m_tree;
};

} // namespace calvenor
