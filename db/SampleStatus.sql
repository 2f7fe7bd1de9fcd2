-- The status rows of the sample profiles and form in the shipped settings database: one device
-- holds them all, in step (empty flag). The installer gives the rows to the installed device.
INSERT INTO UserProfileStatus VALUES ('', 1, ''), ('', 2, '');
INSERT INTO UserFormStatus VALUES (1, '', '');
