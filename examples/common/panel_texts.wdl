# Texts that every wizard of this panel family shares. Included by the
# wizards below; keep the ids stable, translators key their files on them.

T: yes_text "Yes"
T: no_text "No"
T: save_name "Save settings"
H: save_name "Yes stores the settings in the drive's memory.\nNo leaves them active until power-down."
