T:  yes_text "Yes"  
T: no_text "No"


T: save_name "Save settings"