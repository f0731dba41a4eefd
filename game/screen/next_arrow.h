// In the editor, which selected state the next arrow (key 2) starts from and which it ends at: a tag
// under each, and a "from -> to" line below the heads-up texts.
#pragma once

void draw_next_arrow_marks();
