# Shared texts, one of them broken.

T: yes_text "Yes"
T: no_text "No"
T: broken_text "Missing its closing quote
